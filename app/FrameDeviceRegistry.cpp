#include "app/FrameDeviceRegistry.h"

#include "app/MainFrame.h"
#include "app/MultiDDSTarnDoc.h"

namespace {

constexpr const char* kNoDevice = "No such device.";

} // namespace

int CFrameDeviceRegistry::Count() const {
    return int(m_frame.m_documents.size());
}

std::string CFrameDeviceRegistry::Name(int index) const {
    const CMultiDDSTarnDoc* doc = m_frame.m_documents.value(index);
    return doc ? doc->m_strDeviceName.toStdString() : std::string();
}

CDeviceControl* CFrameDeviceRegistry::Control(int index) {
    const CMultiDDSTarnDoc* doc = m_frame.m_documents.value(index);
    return doc ? doc->m_pControl : nullptr;
}

bool CFrameDeviceRegistry::ApplyCsv(int index, const std::string& path,
                                    const CCsvFile::Wave& wave) {
    CMultiDDSTarnDoc* doc = m_frame.m_documents.value(index);
    if (!doc || !doc->m_pDevice)
        return false;
    doc->ApplyCsvFile(path, wave);
    return true;
}

bool CFrameDeviceRegistry::StoreCsv(int index, const std::string& path,
                                    const CCsvFile::Target* target, std::string& error) {
    CMultiDDSTarnDoc* doc = m_frame.m_documents.value(index);
    if (!doc) {
        error = kNoDevice;
        return false;
    }
    return doc->WriteCsvNative(path, &error, target);
}

void CFrameDeviceRegistry::ApplyArbWave(int index, const CCsvFile::Wave& wave) {
    CMultiDDSTarnDoc* doc = m_frame.m_documents.value(index);
    if (!doc)
        return;
    doc->ApplyArbWave(wave);
    // The wave came from no CSV file: Save must not write over the file it came from.
    doc->m_strFileName = QString::fromLatin1(CMultiDDSTarnDoc::kNoFile);
}
