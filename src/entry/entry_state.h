#pragma once
// Program-wide values of the entry line and logging.
#include <QString>
#include <cstdint>

namespace entry {

struct EntryState {
    // 1 while partial dupes are listed as a call is typed.
    std::uint8_t PartialDupesOn = 0;
    // 1 after the full dupe check found the contact already logged.
    std::uint8_t DupeFlag = 0;
    // Monotonic milliseconds at which the last duplicate was reported.
    std::int64_t LastDupeAtMs = 0;
    // The last frequency the rig reported, in MHz as text; taken into the
    // next logged contact.
    QString RigFrequencyText;
    // The record under edit.
    int EditRecordNo = 0;
    // The checks of the last logging attempt.
    std::uint8_t MissingFieldFlag = 0;
    std::uint8_t BadSectionFlag = 0;
    std::uint8_t BadCountyFlag = 0;
    // The call that the CW macro "$" sends: the call box's text.
    QString CWMacroCall;
    // The RST that the CW macro "*" sends.
    QString CWMacroRST;
    // The county that the CW macro "^" sends: the in-state window's own
    // county label in capitals.
    QString CWMacroCounty;
    // The call as the last prefix lookup searched it.
    QString LookupCall;
};

}  // namespace entry
