// The patch transfer's requests, carried out by the data handler.
#pragma once

#include "firmware/IPatchTransferLink.h"

class CDataHandler;

class CDataHandlerPatchLink : public IPatchTransferLink {
public:
    void SetDataHandler(CDataHandler* dataHandler) { m_dataHandler = dataHandler; }  // not owned

    bool RequestRead(int element) override;
    bool RequestWriteFrom(int element, const BYTE* packet, BYTE* answer) override;
    // 0 without a data handler.
    BYTE ReadStatusByte(int element) override;

private:
    CDataHandler* m_dataHandler = nullptr;
};
