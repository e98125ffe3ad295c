#pragma once
// Builds the vocabulary list from a selection of areas and a score range: the
// statement through CQuery, one row of the list window's grid per hit of its
// walk, the progress window meanwhile, and afterwards the list's state (the
// main window's commands, the list caption, the trainer restarted). The
// selection window's Start and OK call it; it needs none of that window's
// controls, so it can be run on its own.
#include "common/clsCursor.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CQuery;
class QWidget;

class ListBuilder {
public:
    struct Selection {
        QStringList areas;          // in list order; empty when none or all are selected
        QString minScore, maxScore; // the score boxes' texts as typed
    };

    ListBuilder();
    ~ListBuilder();
    ListBuilder(const ListBuilder&) = delete;
    ListBuilder& operator=(const ListBuilder&) = delete;

    // Builds the list. owner (may be null) shows the busy cursor and owns the
    // progress window; showCount gets the number of entries selected where the
    // build shows it. True when the build reached its end.
    bool build(const Selection& selection, QWidget* owner, const std::function<void(int)>& showCount);

    // The grid with its header row only.
    void initialisiereListe();
    // Writes the current record of the list record set into grid row `row`
    // (-1: the last row), or drops that row as a duplicate (written false).
    void SetzeZeileAusDBinGrid(int& row, bool& written);

private:
    class Run;       // one build, in the order of its steps
    CQuery& query(); // created on first use
    std::unique_ptr<CQuery> m_query;
    clsCursor m_cursor;
    // IDs written by the running build, so an entry hit twice appears once.
    QSet<QString> m_writtenIds;
};
