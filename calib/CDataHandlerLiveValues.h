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

    // Gives step the live values of dataHandler; without a handler it logs that caller had
    // none and gives 0, the cores' code for nothing.
    template <typename Step>
    static int StepOn(CDataHandler* dataHandler, const char* caller, Step step) {
        if (dataHandler == nullptr) {
            LogNoDataHandler(caller);
            return 0;
        }
        CDataHandlerLiveValues live(*dataHandler);
        return step(live);
    }

private:
    static void LogNoDataHandler(const char* caller);

    CDataHandler& m_dataHandler;
};
