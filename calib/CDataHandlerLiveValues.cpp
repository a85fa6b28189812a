// The cores' live values taken from the data handler's working image.
#include "calib/CDataHandlerLiveValues.h"

#include "link/CDataHandler.h"
#include "link/CLogger.h"

#include <cstring>

namespace {

constexpr int kLogRefused = 1000;

}  // namespace

void CDataHandlerLiveValues::ReadElement(int index, BYTE* destination, int size) {
    std::memset(destination, 0, static_cast<std::size_t>(size));
    const int length = m_dataHandler.GetElementLength(index);
    // The data handler copies the element's whole length; a longer element than the
    // caller's buffer would write past it.
    if (length <= 0 || length > size) {
        CLogger::Instance().Log(kLogRefused,
                                "CDataHandlerLiveValues::ReadElement(): element %d (%d bytes) refused.",
                                index, length);
        return;
    }
    m_dataHandler.ReadData(index, destination);
}

void CDataHandlerLiveValues::LogNoDataHandler(const char* caller) {
    CLogger::Instance().Log(kLogRefused, "%s: no data handler.", caller);
}

int CDataHandlerLiveValues::IsReadSupported(int index) {
    return m_dataHandler.IsReadSupported(index);
}
