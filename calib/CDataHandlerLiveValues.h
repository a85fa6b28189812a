// The live elements as the data handler holds them in its working image.
#pragma once

#include "calib/ILiveValues.h"

class CDataHandler;

class CDataHandlerLiveValues : public ILiveValues {
public:
    // The handler is not owned and must outlive this object.
    explicit CDataHandlerLiveValues(CDataHandler& dataHandler) : m_dataHandler(dataHandler) {}

    void ReadElement(int index, BYTE* destination, int size) override;
    int IsReadSupported(int index) override;

private:
    CDataHandler& m_dataHandler;
};
