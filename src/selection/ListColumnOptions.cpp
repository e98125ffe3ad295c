#include "selection/ListColumnOptions.h"

ListColumnOptions& ListColumnOptions::instance()
{
    static ListColumnOptions options;
    return options;
}

void ListColumnOptions::reset()
{
    m_checked.fill(false);
    m_checked[chkWortart] = true;
    m_checked[chkBereich] = true;
    m_checked[chkQuelle] = true;
}
