// The recording of the data saver: while recording, one file per engine run, opened when
// the engine speed becomes non-zero and closed when it returns to zero. Rows are collected
// in memory and written in pieces, so a live cycle rarely touches the disk. The page feeds
// it one sample per live cycle and shows what each step reports.
#pragma once

#include "classlib/core/CFile.h"
#include "classlib/core/CLocalTime.h"
#include "classlib/core/CString.h"
#include "diag/CDataSaverSample.h"

#include <optional>

class CDataSaverRecorder {
public:
    static constexpr int kRawMode = 0;
    static constexpr int kPeriodicMode = 1;
    static constexpr int kFlushThreshold = 4096;

    struct Outcome {
        enum Kind {
            kNothing,      // engine stopped and no file open
            kRunning,      // the sample was taken; rowWritten tells whether it made a row
            kSaved,        // the engine stopped and its file was closed
            kFinished,     // recording ended with a file closed
            kNoFile,       // recording ended with no file open
            kOpenFailed,   // the file could not be created: recording must end
            kWriteFailed,  // a write failed, the file is aborted: recording must end
        };

        Kind kind = kNothing;
        bool rowWritten = false;
        CString path;
        int cause = 0;
    };

    CDataSaverRecorder() = default;
    ~CDataSaverRecorder();
    CDataSaverRecorder(const CDataSaverRecorder&) = delete;
    CDataSaverRecorder& operator=(const CDataSaverRecorder&) = delete;

    // Whether a file of that name can be written. An existing file is left as it was; a
    // file that the test creates is removed again. cause gets the file error's cause.
    static bool ProbeWritable(const CString& name, int& cause);

    // Starts recording into files named after name (without a file open yet).
    void Begin(const CString& name, int storeMode, int periodMs);
    // One live cycle; wallNow stamps a new file's name, its start block and the row.
    Outcome OnLiveCycle(const CDataSaverSample& sample, const CLocalTime& wallNow);
    // Connection lost: the collected rows are written, the file stays open.
    Outcome Pause();
    // STOP: closes an open file with its stop block.
    Outcome Finish(const CLocalTime& wallNow);
    // Drops an open file without writing (after a failure).
    void Abort();

    bool HasFile() const { return m_file.IsOpen(); }

    CString GetFilePath() const { return m_file.GetFilePath(); }

    int GetRows() const { return m_rows; }

    int GetBytes() const { return m_bytes; }

    // The next character of the running indicator "\|/-".
    char NextSpinner();

private:
    Outcome OpenFile(const CDataSaverSample& sample, const CLocalTime& wallNow);
    Outcome CloseFile(const CLocalTime& wallNow, Outcome::Kind done);
    // Writes the collected rows; false with the cause when the write failed (file aborted).
    bool Flush(int& cause);
    bool WriteNow(const CString& text, int& cause);
    bool WriteRows(const CDataSaverSample& sample, const CLocalTime& wallNow);
    void AddRow(const CDataSaverSample& sample, const CLocalTime& wallNow);
    Outcome WriteFailed(int cause);

    CString m_name;
    int m_storeMode = kRawMode;
    LONG m_periodMs = 1000;
    CFile m_file;
    CString m_buffer;
    int m_rows = 0;
    int m_bytes = 0;
    LONG m_lastRowMs = 0;
    // Only the newest sample since the last row can ever be chosen, so no older one is kept.
    std::optional<CDataSaverSample> m_kept;
    int m_spinner = 0;
};
