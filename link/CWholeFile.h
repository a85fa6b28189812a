// Files are read whole and written whole within one operation. Writing goes to a new file
// beside the target, which then replaces the target, so a failed save never destroys the
// file that was there.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/CFileFrame.h"

#include <cstddef>
#include <functional>
#include <vector>

class CWholeFile {
public:
    enum class Result {
        Ok,
        OpenFailed,  // `cause` holds the file exception's cause
        BadSize,     // refused before reading anything into memory
        ReadFailed,  // `cause` holds the file exception's cause
    };

    enum class WriteResult {
        Ok,
        CreateFailed,  // the file could not be created or put in place of the earlier one
        WriteFailed,
    };

    // Reads a file whose size lies above minBytesExclusive and at most maxBytes. `cause` is
    // set to 0 first.
    static Result Read(LPCSTR path,
                       std::size_t minBytesExclusive,
                       std::size_t maxBytes,
                       std::vector<BYTE>& contents,
                       int& cause);
    // The same with the size limits of a file kind's frame.
    static Result Read(LPCSTR path, const CFileFrame& frame, std::vector<BYTE>& contents, int& cause);

    // Ok when the file now holds `contents`; otherwise `cause` holds the file exception's
    // cause of the step that failed, and any earlier file at `path` is unchanged.
    static WriteResult Write(LPCSTR path, const std::vector<BYTE>& contents, int& cause);

    // The file operations of the models: 1 when the file was read within the frame's size
    // limits and `take` accepted its bytes, else 0 (`cause` as for Read).
    static int Load(LPCSTR path,
                    const CFileFrame& frame,
                    int& cause,
                    const std::function<bool(const BYTE* file, std::size_t size)>& take);
    // 1 when `build` gave the bytes and they were written, else 0; `cause` is set to 0 first,
    // then as for Write.
    static int Save(LPCSTR path, int& cause, const std::function<bool(std::vector<BYTE>& file)>& build);

private:
    // Moves `source` over `target`, replacing it. Platform file.
    static bool Replace(LPCSTR source, LPCSTR target, int& cause);
};
