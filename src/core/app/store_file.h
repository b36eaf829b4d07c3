#pragma once
// The store of the samples, store.fil in the program folder: a copy of every
// sample file, made once at first start, from which damaged samples are
// restored. The store is a sequence of records: a header line "*" followed by
// the sample's full path as it was when the store was made, then the file's
// lines unchanged, each with the line end (LF or CR LF) it had in the file.
// Header lines end in CR LF; a file whose last line has no line end gets CR
// LF there in the store.
//
// A line is a header when, trimmed, it begins with "*" and names a file in
// the same folder as the store's first header. So a sample line that merely
// contains "*", or begins with it, stays part of its sample. Samples are
// found by their exact file name, so one name inside another ("a.cld" in
// "ba.cld") never picks the wrong file.

#include <string>
#include <string_view>
#include <vector>

namespace tarn {

class MessageSink;

struct StoredFile {
  std::string path;     // the header's path
  std::string content;  // the file's bytes as stored
};

// The store's text for the given files (full paths, in this order). A file
// that cannot be read is left out.
std::string StoreText(const std::vector<std::string>& files);

// Creates the store at storePath from the given files when it does not exist
// yet, through a temporary file and a rename. True when the store exists
// afterwards; on failure shows "can't save " + storePath.
bool EnsureStoreFile(const std::string& storePath, const std::vector<std::string>& files, MessageSink& sink);

// The records of a store's text, in store order. Lines before the first
// header belong to no record.
std::vector<StoredFile> ParseStore(std::string_view text);

// The file name (the text after the last "/") of every stored file whose last
// three characters, upper-cased, are "CLD", in store order.
std::vector<std::string> RestorableNames(std::string_view storeText);

// Rewrites the stored file named name (exact file name) at its header's path
// with the stored bytes, through a temporary file and a rename; the folder
// must exist. False when the name is not stored or the file cannot be written.
bool RestoreSample(std::string_view storeText, std::string_view name);

// The message after restoring: "Files", each restored name on its own line,
// a line break and "have been restored to the original state".
std::string RestoredMessage(const std::vector<std::string>& names);

// Restores every named sample from the store at storePath. Returns the
// message for the restored ones (empty when none was); every name that could
// not be restored is shown through sink as "can't save " + its path (or its
// name when the store does not hold it).
std::string RestoreSamples(const std::string& storePath, const std::vector<std::string>& names, MessageSink& sink);

}  // namespace tarn
