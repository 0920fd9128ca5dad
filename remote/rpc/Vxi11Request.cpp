#include "remote/rpc/Vxi11Request.h"

#include "remote/rpc/XdrDecoder.h"

namespace {

using R = CVxi11Request;

/// lid, flags, lock_timeout, io_timeout: the arguments most procedures share.
bool Generic(CXdrDecoder& xdr, R& r) {
    return xdr.I32(r.m_nLink) && xdr.I32(r.m_nFlags) && xdr.U32(r.m_nLockTimeout) &&
           xdr.U32(r.m_nIoTimeout);
}

bool DecodeCore(CXdrDecoder& xdr, std::size_t dataLimit, R& r) {
    std::int32_t i = 0;
    switch (r.m_nProcedure) {
    case R::PROC_NULL:
    case R::DESTROY_INTR_CHAN:
        return true;
    case R::CREATE_LINK:
        return xdr.I32(r.m_nClientId) && xdr.Bool(r.m_bLockDevice) && xdr.U32(r.m_nLockTimeout) &&
               xdr.Opaque(r.m_strDevice, R::kMaxDeviceName);
    case R::DEVICE_WRITE:
        return xdr.I32(r.m_nLink) && xdr.U32(r.m_nIoTimeout) && xdr.U32(r.m_nLockTimeout) &&
               xdr.I32(r.m_nFlags) && xdr.Opaque(r.m_strData, dataLimit);
    case R::DEVICE_READ:
        if (!(xdr.I32(r.m_nLink) && xdr.U32(r.m_nRequestSize) && xdr.U32(r.m_nIoTimeout) &&
              xdr.U32(r.m_nLockTimeout) && xdr.I32(r.m_nFlags) && xdr.I32(i)))
            return false;
        r.m_cTermChar = char(i);
        return true;
    case R::DEVICE_READSTB:
    case R::DEVICE_TRIGGER:
    case R::DEVICE_CLEAR:
    case R::DEVICE_REMOTE:
    case R::DEVICE_LOCAL:
        return Generic(xdr, r);
    case R::DEVICE_LOCK:
        return xdr.I32(r.m_nLink) && xdr.I32(r.m_nFlags) && xdr.U32(r.m_nLockTimeout);
    case R::DEVICE_UNLOCK:
    case R::DESTROY_LINK:
        return xdr.I32(r.m_nLink);
    case R::DEVICE_ENABLE_SRQ:
        return xdr.I32(r.m_nLink) && xdr.Bool(r.m_bEnable) &&
               xdr.Opaque(r.m_strData, R::kMaxHandle);
    case R::DEVICE_DOCMD: {
        bool networkOrder = false;
        std::int32_t command = 0;
        return xdr.I32(r.m_nLink) && xdr.I32(r.m_nFlags) && xdr.U32(r.m_nIoTimeout) &&
               xdr.U32(r.m_nLockTimeout) && xdr.I32(command) && xdr.Bool(networkOrder) &&
               xdr.I32(i) && xdr.Opaque(r.m_strData, dataLimit);
    }
    case R::CREATE_INTR_CHAN: {
        // host address, port, program, version, family: taken, then refused as unsupported.
        std::uint32_t word = 0;
        for (int k = 0; k < 5; ++k)
            if (!xdr.U32(word))
                return false;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

bool CVxi11Request::Decode(std::uint32_t program, std::uint32_t procedure, std::string_view args,
                           std::size_t dataLimit, CVxi11Request& request) {
    request = CVxi11Request();
    request.m_nProcedure = procedure;
    CXdrDecoder xdr(args);
    if (program == kAbortProgram)
        return procedure == PROC_NULL || (procedure == DEVICE_ABORT && xdr.I32(request.m_nLink));
    return program == kCoreProgram && DecodeCore(xdr, dataLimit, request);
}

bool CVxi11Request::IsProcedure(std::uint32_t program, std::uint32_t procedure) {
    if (program == kAbortProgram)
        return procedure == PROC_NULL || procedure == DEVICE_ABORT;
    if (program != kCoreProgram)
        return false;
    switch (procedure) {
    case PROC_NULL:
    case CREATE_LINK:
    case DEVICE_WRITE:
    case DEVICE_READ:
    case DEVICE_READSTB:
    case DEVICE_TRIGGER:
    case DEVICE_CLEAR:
    case DEVICE_REMOTE:
    case DEVICE_LOCAL:
    case DEVICE_LOCK:
    case DEVICE_UNLOCK:
    case DEVICE_ENABLE_SRQ:
    case DEVICE_DOCMD:
    case DESTROY_LINK:
    case CREATE_INTR_CHAN:
    case DESTROY_INTR_CHAN:
        return true;
    default:
        return false;
    }
}
