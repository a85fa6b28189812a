// The OBD-II text channel through the unit: a request is its bytes as upper-case hexadecimal
// pairs and a carriage return; the reply is text made of hexadecimal byte pairs, one line per
// answering control unit, each line repeating the request with 0x40 added to the mode, and the
// whole ended by ">".
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

// The request text of a mode and, when `hasPid`, a PID: "0100\r" for mode 01 PID 00.
std::string FormatObdRequest(BYTE mode, BYTE pid, bool hasPid);

// What the reply element holds: a length byte, then that many characters of reply text; a
// length of 1 is a status instead, 0 meaning that the reply is not ready yet.
enum class ObdReplyState {
    Text,      // `text` holds the reply text
    NotReady,  // ask again
    Refused,   // any other status: the scan ends
};

// Reads the reply element's `size` bytes; a length beyond them is cut to what is there.
ObdReplyState ReadObdReplyElement(const BYTE* element, std::size_t size, std::string& text);

// The data of a reply to the request (one or two bytes: mode, PID), the data of all lines
// joined. False, with `data` untouched, when the text does not end with ">", holds anything
// but hexadecimal pairs separated by blanks, or has a line that does not repeat the request.
// Lines without any byte are passed over.
bool ParseObdReply(const std::string& text,
                   const BYTE* request,
                   std::size_t requestLength,
                   std::vector<BYTE>& data);
