#pragma once
#include <QString>

class CMultiDDSTarnDoc;

/// Edit > Import Waveform... and Export Waveform... for one device document.
class CWaveFileCommands {
public:
    /// Reads a waveform file (asked for when path is empty), previews it and, applied, makes it
    /// the Arb wave; Save then asks for a CSV name. A bad file is reported and changes nothing.
    /// True when a wave was applied.
    static bool Import(CMultiDDSTarnDoc& doc, const QString& path = QString());
    /// Asks how to write the current wave, then the file (unless path is given), and writes it.
    /// True when a file was written.
    static bool Export(CMultiDDSTarnDoc& doc, const QString& path = QString());
};
