#pragma once
// What the statement translator and the condition parser keep of the texts
// they were given; the open database holds one of each. The same texts come
// again and again (every FindNext of a walk), and most differ only in a value
// (one ID per list entry): a result is kept by the text's shape, the text with
// its literals replaced by marks, and put together with the values of the
// next text of that shape. A text whose shape cannot take other values is kept
// by its exact text. A table that passes its limit is emptied: a list build
// uses a handful of shapes, only conditions typed by the user make many.
#include "engine/TextHash.h"

#include <QHash>
#include <QString>
#include <array>
#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

template <class Literal, class ByShape, class ByText>
class ShapeCache {
public:
    explicit ShapeCache(size_t limit) : m_limit(limit) {}
    ShapeCache(const ShapeCache&) = delete;
    ShapeCache& operator=(const ShapeCache&) = delete;

    // The shape and the literals of the text being looked up, filled by the
    // caller; their buffers are kept from one call to the next.
    QString key;
    std::vector<Literal> literals;

    // The entry kept for `key`; null when there is none.
    ByShape* findShape()
    {
        for (Entry* e : m_recent)
            if (e && e->first == key)
                return &e->second;
        const auto it = m_shapes.find(key);
        if (it == m_shapes.end())
            return nullptr;
        remember(&*it);
        return &it->second;
    }

    ByShape& addShape(ByShape value)
    {
        if (m_shapes.size() > m_limit) {
            m_shapes.clear();
            m_recent.fill(nullptr);
        }
        Entry* e = &*m_shapes.emplace(key, std::move(value)).first;
        remember(e);
        return e->second;
    }

    const ByText* findText(const QString& text) const
    {
        const auto it = m_texts.constFind(text);
        return it == m_texts.cend() ? nullptr : &it.value();
    }

    const ByText& addText(const QString& text, ByText value)
    {
        if (size_t(m_texts.size()) > m_limit)
            m_texts.clear();
        return m_texts.insert(text, std::move(value)).value();
    }

private:
    using Shapes = std::unordered_map<QString, ByShape, TextHash>;
    using Entry = typename Shapes::value_type;

    void remember(Entry* e) { m_recent[m_nextRecent++ % m_recent.size()] = e; }

    size_t m_limit;
    Shapes m_shapes;
    // The shapes used last, compared before the key is hashed: the list build
    // takes turns with three of them.
    std::array<Entry*, 4> m_recent{};
    size_t m_nextRecent = 0;
    QHash<QString, ByText> m_texts;
};
