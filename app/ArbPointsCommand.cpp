#include "app/ArbPointsCommand.h"

#include <utility>

CArbPointsCommand::CArbPointsCommand(CArbHistory& history, CArbHistory::Points before,
                                     CArbHistory::Points after, const QString& text)
    : QUndoCommand(text), m_history(history), m_before(std::move(before)),
      m_after(std::move(after)) {}

void CArbPointsCommand::undo() {
    m_history.Apply(m_before);
}

void CArbPointsCommand::redo() {
    if (m_bPushed)
        m_history.Apply(m_after);
    m_bPushed = true;
}
