#include "EditorItems.h"
#include <iterator>

void EditorItems::TruncateRedoTail() {
    m_items.erase(m_undoPosition, m_items.end());
    m_undoPosition = m_items.end();
}

void EditorItems::Append(std::unique_ptr<CVectorData> item) {
    TruncateRedoTail();
    m_items.push_back(std::move(item));
    m_undoPosition = m_items.end();
}

bool EditorItems::Undo() {
    if (!CanUndo()) return false;
    --m_undoPosition;
    return true;
}

bool EditorItems::Redo() {
    if (!CanRedo()) return false;
    ++m_undoPosition;
    return true;
}

size_t EditorItems::ActiveCount() const {
    return static_cast<size_t>(std::distance(m_items.begin(), List::const_iterator(m_undoPosition)));
}
