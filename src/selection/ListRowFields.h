#pragma once
// Reads fields of the list record set by name, looking each name up only once
// per record set: the list build reads the same dozen fields of every row.
#include "engine/Recordset.h"
#include "engine/TextHash.h"

#include <QString>
#include <QVariant>
#include <unordered_map>

class ListRowFields {
public:
    // The value of field `name` in the current row of rs; a name the record
    // set lacks fails exactly as Recordset::Fields does.
    QVariant get(const Recordset& rs, const QString& name)
    {
        const int i = indexOf(rs, name);
        return i < 0 ? rs.Fields(name) : rs.Fields(i);
    }
    // The same for a column a file may lack ("Zusatzinfo" of the older
    // version): Null when it is not there.
    QVariant getIfPresent(const Recordset& rs, const QString& name)
    {
        const int i = indexOf(rs, name);
        return i < 0 ? QVariant() : rs.Fields(i);
    }
    // Forgets the positions (a new record set may sit at the old address).
    void reset() { m_rs = nullptr; }

private:
    int indexOf(const Recordset& rs, const QString& name)
    {
        if (&rs != m_rs || rs.FieldCount() != m_count) {
            m_rs = &rs;
            m_count = rs.FieldCount();
            m_index.clear();
        }
        auto it = m_index.find(name);
        if (it == m_index.end()) {
            int found = -1;
            for (int i = 0; i < m_count && found < 0; ++i)
                if (rs.FieldName(i).compare(name, Qt::CaseInsensitive) == 0)
                    found = i;
            it = m_index.emplace(name, found).first;
        }
        return it->second;
    }

    const Recordset* m_rs = nullptr;
    int m_count = -1;
    std::unordered_map<QString, int, TextHash> m_index;
};

// The one instance the list build and its expression writer share.
inline ListRowFields& listRowFields()
{
    static ListRowFields fields;
    return fields;
}
