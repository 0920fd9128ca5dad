#pragma once
#include <QString>
#include <QUndoStack>

#include <vector>

class CDDSDevice;

/// Undo and redo of one device's Arb table: every change of its points (a mouse stroke, a
/// Points Edit change, a CSV file opened, a wave captured into the table, an import) is one
/// step, and the unit follows each undo and redo with one download. Owned by the document, so
/// it outlives switching to other wave types and back.
class CArbHistory {
public:
    /// The table as it stands: its size (points per period) and its points in volts.
    struct Points {
        int nSize = 0;
        std::vector<float> values;
        bool operator==(const Points&) const = default;
    };

    explicit CArbHistory(CDDSDevice& device);

    Points Snapshot() const;
    /// Records the change from `before` to the table as it stands now as one step (none when
    /// nothing changed). The caller made the change and requested its download.
    void Record(const Points& before, const QString& text);
    /// Replaces the table by `points` (volts; the first 4096 are kept, none changes nothing)
    /// as one step and requests the download.
    void SetArbPoints(const std::vector<float>& points, const QString& text);
    /// Puts a table into the device and requests its download (undo and redo).
    void Apply(const Points& points);

    bool CanUndo() const { return m_stack.canUndo(); }
    bool CanRedo() const { return m_stack.canRedo(); }
    void Undo() { m_stack.undo(); }
    void Redo() { m_stack.redo(); }

private:
    CDDSDevice& m_device;
    QUndoStack m_stack;
};
