#pragma once
// Windows that are not part of the program yet. The buttons and menu entries that open them are
// present with their captions but stay disabled until the window lands; each flag turns them on.

namespace talik::ready {

inline constexpr bool Dialling = true;        // the telephone entries (dial request)
inline constexpr bool Mail = false;           // e-mail to one record or to all results
inline constexpr bool RelatedFile = false;    // starting a record's related file
inline constexpr bool RemarksExtra = false;   // the remarks extra data and related-file dialogs
inline constexpr bool Copy = false;           // clipboard copy and its settings
inline constexpr bool Printing = false;       // the print dispatch and dialogs
inline constexpr bool PrintSettings = false;  // the per-record print settings
inline constexpr bool Settings = false;       // environment settings, database names, check names, password
inline constexpr bool Options = false;        // CSV in and out, backup, restore, delete all, version
inline constexpr bool MoveCopy = false;       // moving or copying records to another database
inline constexpr bool AddressSupport = false; // address entry through the sibling postcard program

} // namespace talik::ready
