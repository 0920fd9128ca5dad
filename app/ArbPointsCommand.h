#pragma once
#include "app/ArbHistory.h"

#include <QUndoCommand>

/// One step of the Arb history: the table before and after a change.
class CArbPointsCommand : public QUndoCommand {
public:
    CArbPointsCommand(CArbHistory& history, CArbHistory::Points before, CArbHistory::Points after,
                      const QString& text);

    void undo() override;
    void redo() override;

private:
    CArbHistory& m_history;
    CArbHistory::Points m_before;
    CArbHistory::Points m_after;
    /// The change is made before the step is pushed: the push's own redo has nothing to do.
    bool m_bPushed = false;
};
