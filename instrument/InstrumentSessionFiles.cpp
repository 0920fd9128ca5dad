// The session's file commands: every name goes through the waveform folder's Resolve first,
// and the file calls then work on what it opened.
#include "control/DeviceControl.h"
#include "formats/CsvFile.h"
#include "instrument/DeviceRegistry.h"
#include "instrument/InstrumentSession.h"
#include "instrument/WaveFolder.h"

#include <cerrno>
#include <cstring>

namespace {

using P = CScpiParamDef;

/// Whether the name resolved; false after raising its error.
bool Resolved(CScpiContext& context, const CWaveFolder::CName& name) {
    if (name.Error() == 0)
        return true;
    context.Error(name.Error(), name.Info());
    return false;
}

} // namespace

void CInstrumentSession::AddFiles() {
    m_table.Add("MMEMory:LOAD:DATA", {P::String()}, [this](CScpiContext& c) {
        if (!Addressed(c))
            return;
        const std::string& shown = c.Param(0).m_str;
        const CWaveFolder::CName name = m_folder.Resolve(shown);
        if (!Resolved(c, name))
            return;
        std::string text;
        const int result = CWaveFolder::Read(name, text, CCsvFile::kMaxReadBytes + 1);
        if (result == ENOENT) {
            c.Error(CWaveFolder::kNotFound, name.Relative());
            return;
        }
        if (result == ELOOP) {
            c.Error(CWaveFolder::kNameError, "a link took the name's place");
            return;
        }
        CCsvFile::Wave wave;
        std::string error;
        if (!CCsvFile::LoadRead(result, std::move(text), shown, wave, error)) {
            c.Error(-200, error);
            return;
        }
        // The document names the file inside the folder, so its Save never leads elsewhere.
        m_devices.ApplyCsv(m_nSelected, m_folder.Path() + "/" + name.Relative(), wave);
    });
    m_table.Add("MMEMory:STORe:DATA", {P::String()}, [this](CScpiContext& c) {
        if (!Addressed(c))
            return;
        const std::string& shown = c.Param(0).m_str;
        const CWaveFolder::CName name = m_folder.Resolve(shown);
        if (!Resolved(c, name))
            return;
        CCsvFile::Target target;
        target.check = [&name] { return CWaveFolder::CheckReplaceable(name); };
        target.replace = [&name](const std::string& bytes) {
            return CWaveFolder::Replace(name, bytes);
        };
        target.strShown = shown;
        std::string error;
        if (!m_devices.StoreCsv(m_nSelected, m_folder.Path() + "/" + name.Relative(), &target,
                                error))
            c.Error(-200, error);
    });
    m_table.Add("MMEMory:DELete", {P::String()}, [this](CScpiContext& c) {
        // The name itself goes, a link and not what it leads to, as rm does.
        const CWaveFolder::CName name =
            m_folder.Resolve(c.Param(0).m_str, CWaveFolder::Kind::FileItself);
        if (!Resolved(c, name))
            return;
        const int result = CWaveFolder::Remove(name);
        if (result == ENOENT)
            c.Error(CWaveFolder::kNotFound, name.Relative());
        else if (result == EISDIR)
            c.Error(CWaveFolder::kNameError, name.Relative() + ": a folder");
        else if (result != 0)
            c.Error(CWaveFolder::kStorageError, name.Relative() + ": " + std::strerror(result));
    });
    // <used bytes>,<free bytes>{,"<name>,<type>,<size>"}
    m_table.Add("MMEMory:CATalog?", {P::String().Optional()}, [this](CScpiContext& c) {
        const CWaveFolder::CName folder = m_folder.Resolve(
            c.Has(0) ? c.Param(0).m_str : std::string(), CWaveFolder::Kind::Folder);
        if (!Resolved(c, folder))
            return;
        CWaveFolder::CCatalog catalog;
        if (const int result = m_folder.List(folder, catalog)) {
            c.Error(CWaveFolder::kStorageError, std::strerror(result));
            return;
        }
        c.WriteInt(static_cast<long long>(catalog.nUsed));
        c.WriteInt(static_cast<long long>(catalog.nFree));
        for (const CWaveFolder::CEntry& entry : catalog.entries)
            c.WriteString(entry.strName + "," + entry.strType + "," + std::to_string(entry.nSize));
        if (catalog.bCut)
            c.Error(-223, "the catalog shows the first " +
                              std::to_string(CWaveFolder::kMaxEntries) + " entries");
    });
}
