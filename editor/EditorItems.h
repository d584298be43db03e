#pragma once
// The editor's drawn items, oldest first, with the undo position: the items before it are
// active and drawn; it and every item after it are undone and kept for redo. Undo and redo only
// move the position; drawing something new drops the undone items.
#include <cstddef>
#include <list>
#include <memory>
#include "CVectorData.h"

class EditorItems {
public:
    using List = std::list<std::unique_ptr<CVectorData>>;

    EditorItems() = default;
    // The undo position points into this object's own list.
    EditorItems(const EditorItems&) = delete;
    EditorItems& operator=(const EditorItems&) = delete;

    // Drops the undone items (the redo tail); afterwards nothing is undone.
    void TruncateRedoTail();
    // Adds a finished item after every other; the caller has truncated the redo tail first.
    void Append(std::unique_ptr<CVectorData> item);
    // One step back or forward; false when there is nothing to undo or redo.
    bool Undo();
    bool Redo();

    bool CanUndo() const { return m_undoPosition != m_items.begin(); }
    bool CanRedo() const { return m_undoPosition != m_items.end(); }
    size_t Count() const { return m_items.size(); }
    size_t ActiveCount() const;

    // Calls f(const CVectorData&) for every active item, oldest first.
    template <typename F>
    void ForEachActive(F f) const {
        for (auto it = m_items.begin(); it != m_undoPosition; ++it) f(**it);
    }

private:
    List m_items;
    // The first undone item; end() when nothing is undone.
    List::iterator m_undoPosition = m_items.end();
};
