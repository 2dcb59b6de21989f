// The memo and the ToDo list of the entry dialog: two files of the start-up folder that belong
// to no day. "覚書.dat" holds the memo's text as typed (no file for an empty memo); "ToDo.dat"
// holds one entry a line, kept sorted without regard to letter case, so that the "MM/DD："
// prefix of sent entries orders them by date within a year.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daydata {

std::filesystem::path MemoFilePath(const std::filesystem::path& startup_dir);
std::filesystem::path ToDoFilePath(const std::filesystem::path& startup_dir);

// The list's order: bytes compared with ASCII letters folded to lower case (code page 932
// trail bytes are never folded, so that two-byte characters keep their identity).
bool ToDoLess(std::string_view a, std::string_view b);
// Stable, so that entries equal but for case keep the order they came in.
void SortToDo(std::vector<std::string>& items);
// Inserts after every entry that does not sort after it; returns its index.
std::size_t InsertToDo(std::vector<std::string>& items, std::string entry);

// The entry "MM/DD：" + selection for a selection of the day whose file is `day_file_name`
// ("KVR" + four-digit year + MM + DD + ".dat"); empty when the selection is empty.
std::string ToDoEntry(std::string_view day_file_name, std::string_view selection);

// The lines of "ToDo.dat" (the line reader of day files); nullopt when it cannot be read.
std::optional<std::vector<std::string>> ReadToDo(const std::filesystem::path& path);
// Writes every entry followed by CR LF, replacing the file; false on failure.
bool WriteToDo(const std::filesystem::path& path, const std::vector<std::string>& items);

// The memo file's bytes; nullopt when it cannot be read.
std::optional<std::string> ReadMemo(const std::filesystem::path& path);
// Writes the memo's whole text unchanged, or deletes the file when the text is empty. Throws
// EDayWriteError when the file cannot be written; the old file then stays as it was.
void SaveMemo(const std::filesystem::path& path, std::string_view text);

}  // namespace daydata
