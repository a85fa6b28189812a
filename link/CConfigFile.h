// The configuration file (zcf): the settings of one unit as element records, with the
// measurement records of the adaptive map and, when the unit has them, its four tables.
// Works on a memory image and plain data, so the data handler only supplies its element
// table, its images and its lists. Portable.
#pragma once

#include "classlib/core/WinTypes.h"
#include "link/ElementTable.h"

#include <cstddef>
#include <map>
#include <vector>

// What the file needs to know of one element of the element table.
struct ConfigElement {
    int offset;  // in the memory image; -1 for elements kept only in files
    int length;
    int access;  // kind of element; only settings and the two file-only elements are saved
};

// One measurement record (element 75), 12 bytes in the file.
struct ConfigMeasurement {
    LONG rpm;
    LONG injectionUs;
    LONG value;
};

// Table records (element 107) by table id (80, 82, 84, 86): the 1024 bytes of the table.
using ConfigTableMap = std::map<WORD, std::vector<BYTE>>;

struct ConfigSource {
    const BYTE* image = nullptr;  // the memory image being saved (16 KB)
    int formatVersion = 1;
    BYTE randomBits = 0;  // high four bits of the version byte
    BYTE programMajor = 0;
    BYTE programMinor = 0;
    const std::vector<ConfigMeasurement>* measurements = nullptr;
    // True when the unit answered the tables command: the tables come from the image.
    // Otherwise the tables of `tables` are written, so that tables loaded from a file
    // survive a save without a unit.
    bool tablesFromImage = false;
    const ConfigTableMap* tables = nullptr;
};

struct ConfigTarget {
    BYTE* image = nullptr;                                   // receives the settings (16 KB)
    std::vector<ConfigMeasurement>* measurements = nullptr;  // records are appended
    ConfigTableMap* tables = nullptr;
};

class CConfigFile {
public:
    static constexpr int kMeasurementElement = 75;
    static constexpr int kTableElement = 107;
    static constexpr std::size_t kMaxFileBytes = 16384;  // the size of the file buffer
    static constexpr std::size_t kEmptyFileBytes = 29;
    static constexpr int kFormatVersion = 1;

    // Results of Parse.
    static constexpr int kSameVersion = 0;
    static constexpr int kOlderMinor = 1;
    static constexpr int kBadMagic = -1;
    static constexpr int kBadFormatVersion = -2;
    static constexpr int kBadLength = -3;
    static constexpr int kBadCrc = -4;
    static constexpr int kOtherMajor = -5;
    static constexpr int kNewerMinor = -6;

    // `elements`: kElementCount entries, indexed by element id; not owned, must outlive this.
    explicit CConfigFile(const ConfigElement* elements);

    // Builds the file. Returns its length, or -1 when the format version is not 1 (the file
    // is built all the same). Measurement records that would take the file past
    // kMaxFileBytes are left out; GetDroppedMeasurements tells how many.
    int Serialize(const ConfigSource& source, std::vector<BYTE>& file);

    int GetDroppedMeasurements() const { return m_droppedMeasurements; }

    // Checks the file and reads its records into the target. The target is untouched unless
    // every check passes. A record is taken only when its id is known and its length is the
    // element's; others are skipped, which converts files of older program versions.
    int Parse(const BYTE* file,
              std::size_t length,
              BYTE programMajor,
              BYTE programMinor,
              ConfigTarget& target) const;

private:
    void AppendRecord(std::vector<BYTE>& file, int id, const BYTE* data, int length) const;
    void AppendTables(const ConfigSource& source, std::vector<BYTE>& file) const;
    std::size_t TableBytes(const ConfigSource& source) const;
    void TakeRecord(int id, const BYTE* data, int length, ConfigTarget& target) const;

    const ConfigElement* m_elements;  // not owned
    int m_droppedMeasurements;
};
