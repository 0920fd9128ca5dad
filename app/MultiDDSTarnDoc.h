#pragma once
#include "formats/CsvFile.h"

#include <QList>
#include <QString>

#include <memory>
#include <string>

class CArbHistory;
class CCmdUI;
class CChildFrame;
class CDDSDevice;
class CDeviceControl;
class CDeviceView;
class QWidget;

/// One signal generator (or one simulated "Demo" one): owns its device record, its name and the
/// CSV file last used with it, and answers the menu commands that act on one device.
class CMultiDDSTarnDoc {
public:
    CMultiDDSTarnDoc();
    ~CMultiDDSTarnDoc(); ///< Deletes the device; the view (and its worker) must be gone first.

    CMultiDDSTarnDoc(const CMultiDDSTarnDoc&) = delete;
    CMultiDDSTarnDoc& operator=(const CMultiDDSTarnDoc&) = delete;

    /// 1 only while points just read from a file are handed to the view (entering Arb keeps them).
    int m_bArbFromFile = 0;
    QString m_strFileName; ///< "CSV File Empty" while Save must ask for a name.
    QString m_strDeviceName;
    CDDSDevice* m_pDevice = nullptr;
    /// Every setting of m_pDevice goes through it; created and deleted with the device.
    CDeviceControl* m_pControl = nullptr;
    int m_nIndex = -1; ///< Position in the main frame's device list after each tab rebuild.
    int m_bUserNamed = 0;
    QString m_strFilePath;
    CDeviceView* m_pView = nullptr;
    CChildFrame* m_pFrame = nullptr;

    static const char* const kNoFile; ///< "CSV File Empty"

    void CreateDevice();
    /// Undo and redo of the Arb points; null before the device exists.
    CArbHistory* ArbHistory() const { return m_pArbHistory.get(); }
    /// Lowest free "Device %d" / "Demo %d" among `others` (case-insensitive), unless user-named.
    void AssignDefaultName(const QList<CMultiDDSTarnDoc*>& others);
    void AssignDefaultName(); ///< Against the main frame's device list.
    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);

    int ShowWaveParameterDialog(int type);
    void OnPeriodNumber();
    void SaveCsv(int saveAs);
    int RetextWindows();
    void Activate();
    /// File > Open's reading and File > Save's writing. A failure shows its message in a box,
    /// or, given `message` (a remote client's request), hands it back there instead.
    bool ReadCsvFile(const QString& path, std::string* message = nullptr);
    bool WriteCsvFile(const QString& path, std::string* message = nullptr);
    /// The same with the path as the file system's bytes, which need not be UTF-8; a write
    /// given a target (the remote waveform folder's) goes through it instead of the path.
    bool ReadCsvNative(const std::string& file, std::string* message = nullptr);
    bool WriteCsvNative(const std::string& file, std::string* message = nullptr,
                        const CCsvFile::Target* target = nullptr);
    /// The one way a whole new table (a CSV file read, an imported waveform) becomes the Arb
    /// wave: the device takes its rate, size, frequency and points, and the view shows it as
    /// Arb and downloads.
    void ApplyArbWave(const CCsvFile::Wave& wave);
    /// A file already read: it becomes the Arb wave and the file shown and saved to.
    void ApplyCsvFile(const std::string& file, const CCsvFile::Wave& wave);
    static int ParseNumber(const QString& text, double& value);

    bool OnCommand(int id);
    bool OnUpdateCommand(CCmdUI& ui);
    /// Removes the document from the device list, destroys frame and view, then deletes itself.
    void OnCloseDocument();
    /// The device's worker was abandoned inside a driver call that hangs and will still finish
    /// its step on the record: the record is left to it and never deleted.
    void LeaveDeviceToStuckWorker() { m_bDeviceLeft = 1; }

    /// Parent for the document's message boxes and file dialogs.
    QWidget* DialogParent() const;

private:
    void OnFileOpenCsv();
    void OnHelpContent();
    /// The file last read or written, which Save writes to from now on.
    void RememberFile(const std::string& file);
    /// The one way a file error leaves the document; always false.
    bool ReportFileError(const std::string& text, std::string* message) const;

    QString m_strTitle;
    /// m_strFilePath as the file system's bytes, which Save writes to (a name that is not
    /// UTF-8 has no exact QString).
    std::string m_strFileBytes;
    bool m_bClosing = false;
    int m_bDeviceLeft = 0;
    std::unique_ptr<CArbHistory> m_pArbHistory;
};
