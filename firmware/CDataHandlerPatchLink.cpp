#include "firmware/CDataHandlerPatchLink.h"

#include "link/CDataHandler.h"

bool CDataHandlerPatchLink::RequestRead(int element) {
    return m_dataHandler != nullptr && CDataHandler::IsQueued(m_dataHandler->RequestRead(element, nullptr));
}

bool CDataHandlerPatchLink::RequestWriteFrom(int element, const BYTE* packet, BYTE* answer) {
    return m_dataHandler != nullptr &&
           CDataHandler::IsQueued(m_dataHandler->RequestWriteFrom(element, packet, answer));
}

BYTE CDataHandlerPatchLink::ReadStatusByte(int element) {
    if (m_dataHandler == nullptr || m_dataHandler->GetElementLength(element) != 1) {
        return 0;
    }
    BYTE status = 0;
    m_dataHandler->ReadData(element, &status);
    return status;
}
