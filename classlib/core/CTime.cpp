#include "classlib/core/CTime.h"

#include <mutex>

namespace {

// localtime returns a shared buffer on some runtimes; one lock covers every caller here.
std::mutex g_localTimeLock;

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    m_time = std::mktime(&local);
}

CTime CTime::GetCurrentTime() {
    return CTime(std::time(nullptr));
}

std::tm CTime::Local() const {
    const std::lock_guard<std::mutex> lock(g_localTimeLock);
    const std::tm* local = std::localtime(&m_time);
    return local == nullptr ? std::tm{} : *local;
}

int CTime::GetYear() const {
    return Local().tm_year + 1900;
}

int CTime::GetMonth() const {
    return Local().tm_mon + 1;
}

int CTime::GetDay() const {
    return Local().tm_mday;
}

int CTime::GetHour() const {
    return Local().tm_hour;
}

int CTime::GetMinute() const {
    return Local().tm_min;
}

int CTime::GetSecond() const {
    return Local().tm_sec;
}

int CTime::GetDayOfWeek() const {
    return Local().tm_wday + 1;
}

CString CTime::Format(LPCSTR format) const {
    if (format == nullptr || format[0] == '\0') {
        return CString();
    }
    const std::tm local = Local();
    char buffer[256];
    // The format is the caller's by design, as with any time formatting of ours.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    const size_t length = std::strftime(buffer, sizeof buffer, format, &local);
#pragma GCC diagnostic pop
    return CString(buffer, static_cast<int>(length));
}
