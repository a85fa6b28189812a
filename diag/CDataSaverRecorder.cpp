#include "diag/CDataSaverRecorder.h"

#include "classlib/core/CExceptionGuard.h"
#include "classlib/core/CFileException.h"
#include "diag/CDataSaverFormat.h"
#include "link/CLogger.h"

namespace {

constexpr char kSpinner[] = "\\|/-";
constexpr int kSpinnerLength = 4;
constexpr UINT kWriteFlags = CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite;

int CauseOf(CException* exception) {
    const auto* fileError = dynamic_cast<CFileException*>(exception);
    return fileError != nullptr ? fileError->m_cause : CFileException::genericException;
}

}  // namespace

CDataSaverRecorder::~CDataSaverRecorder() {
    m_file.Abort();
}

bool CDataSaverRecorder::ProbeWritable(const CString& name, int& cause) {
    cause = 0;
    CFileException error;
    CFile existing;
    if (existing.Open(name, CFile::modeRead | CFile::shareDenyNone)) {
        existing.Close();
        // Opened for writing without creating or cutting it, so its contents stay.
        CFile writable;
        if (!writable.Open(name, CFile::modeWrite | CFile::shareDenyWrite, &error)) {
            cause = error.m_cause;
            return false;
        }
        writable.Abort();
        return true;
    }
    CFile created;
    if (!created.Open(name, kWriteFlags, &error)) {
        cause = error.m_cause;
        return false;
    }
    created.Abort();
    try {
        CFile::Remove(name);
    } catch (CException* caught) {
        CExceptionGuard guard(caught);
        CLogger::Instance().Log(3000, "CDataSaverPage: probe file %s not removed.", name.GetString());
    }
    return true;
}

void CDataSaverRecorder::Begin(const CString& name, int storeMode, int periodMs) {
    m_file.Abort();
    m_name = name;
    m_storeMode = storeMode;
    m_periodMs = periodMs;
    m_buffer.Empty();
    m_kept.reset();
    m_rows = 0;
    m_bytes = 0;
}

CDataSaverRecorder::Outcome CDataSaverRecorder::OnLiveCycle(const CDataSaverSample& sample,
                                                            const CLocalTime& wallNow) {
    if (sample.speed != 0 && !HasFile()) {
        Outcome opened = OpenFile(sample, wallNow);
        if (opened.kind != Outcome::kRunning) {
            return opened;
        }
    } else if (sample.speed == 0) {
        return HasFile() ? CloseFile(wallNow, Outcome::kSaved) : Outcome{};
    }
    Outcome outcome;
    outcome.kind = Outcome::kRunning;
    outcome.rowWritten = WriteRows(sample, wallNow);
    if (m_buffer.GetLength() > kFlushThreshold && !Flush(outcome.cause)) {
        return WriteFailed(outcome.cause);
    }
    return outcome;
}

CDataSaverRecorder::Outcome CDataSaverRecorder::OpenFile(const CDataSaverSample& sample,
                                                         const CLocalTime& wallNow) {
    const CString path = CDataSaverFormat::StampedFileName(m_name, wallNow);
    CFileException error;
    if (!m_file.Open(path, kWriteFlags, &error)) {
        Outcome failed;
        failed.kind = Outcome::kOpenFailed;
        failed.path = path;
        failed.cause = error.m_cause;
        return failed;
    }
    m_rows = 0;
    m_bytes = 0;
    m_lastRowMs = sample.clockMs;
    m_buffer.Empty();
    m_kept.reset();
    m_spinner = 0;
    int cause = 0;
    if (!WriteNow(CDataSaverFormat::StartBlock(wallNow) + CDataSaverFormat::HeaderLine(), cause)) {
        return WriteFailed(cause);
    }
    Outcome opened;
    opened.kind = Outcome::kRunning;
    return opened;
}

bool CDataSaverRecorder::WriteRows(const CDataSaverSample& sample, const CLocalTime& wallNow) {
    if (m_storeMode != kPeriodicMode) {
        AddRow(sample, wallNow);
        m_lastRowMs = sample.clockMs;
        return true;
    }
    bool written = false;
    const LONG tick = m_lastRowMs + m_periodMs;
    if (tick < sample.clockMs) {
        const bool current = !m_kept.has_value() || sample.clockMs - tick < tick - m_kept->clockMs;
        AddRow(current ? sample : *m_kept, wallNow);
        m_lastRowMs = tick;
        m_kept.reset();
        written = true;
    }
    m_kept = sample;
    return written;
}

void CDataSaverRecorder::AddRow(const CDataSaverSample& sample, const CLocalTime& wallNow) {
    const CString row = CDataSaverFormat::Row(sample, wallNow);
    m_buffer += row;
    ++m_rows;
    m_bytes += row.GetLength();
}

CDataSaverRecorder::Outcome CDataSaverRecorder::Pause() {
    Outcome outcome;
    if (!HasFile() || m_buffer.IsEmpty()) {
        return outcome;
    }
    if (!Flush(outcome.cause)) {
        return WriteFailed(outcome.cause);
    }
    return outcome;
}

CDataSaverRecorder::Outcome CDataSaverRecorder::Finish(const CLocalTime& wallNow) {
    if (!HasFile()) {
        Outcome outcome;
        outcome.kind = Outcome::kNoFile;
        return outcome;
    }
    return CloseFile(wallNow, Outcome::kFinished);
}

CDataSaverRecorder::Outcome CDataSaverRecorder::CloseFile(const CLocalTime& wallNow, Outcome::Kind done) {
    m_buffer += CDataSaverFormat::StopBlock(wallNow);
    Outcome outcome;
    outcome.path = GetFilePath();
    if (!Flush(outcome.cause)) {
        return WriteFailed(outcome.cause);
    }
    try {
        m_file.Close();
    } catch (CException* caught) {
        CExceptionGuard guard(caught);
        return WriteFailed(CauseOf(guard.Get()));
    }
    outcome.kind = done;
    return outcome;
}

bool CDataSaverRecorder::Flush(int& cause) {
    if (!WriteNow(m_buffer, cause)) {
        return false;
    }
    m_buffer.Empty();
    return true;
}

bool CDataSaverRecorder::WriteNow(const CString& text, int& cause) {
    try {
        m_file.Write(text.GetString(), static_cast<UINT>(text.GetLength()));
        return true;
    } catch (CException* caught) {
        CExceptionGuard guard(caught);
        cause = CauseOf(guard.Get());
        return false;
    }
}

CDataSaverRecorder::Outcome CDataSaverRecorder::WriteFailed(int cause) {
    Outcome failed;
    failed.kind = Outcome::kWriteFailed;
    failed.path = GetFilePath();
    failed.cause = cause;
    CLogger::Instance().Log(3000, "CDataSaverPage: writing %s failed (cause %d).", failed.path.GetString(),
                            cause);
    Abort();
    return failed;
}

void CDataSaverRecorder::Abort() {
    m_file.Abort();
    m_buffer.Empty();
    m_kept.reset();
}

char CDataSaverRecorder::NextSpinner() {
    const char c = kSpinner[m_spinner];
    m_spinner = (m_spinner + 1) % kSpinnerLength;
    return c;
}
