// Connects the walk's model of saved records to the program: every update form
// is wrapped so that what it saved is noted, and the data files are read back
// as their own stored definitions declare them.
#pragma once

#include <set>
#include <string>

#include "tools/soak/saved_records.h"

namespace soak {

// Replaces each update form's procedure with one that runs it and notes in
// `saved` what it saved when it completed: the last record it ADDed or PUT to
// its file with success (watched through the dispatcher's call watch and its
// finished-call hook, which it takes), or nothing when it completed without
// writing its file. A numbered insert that does not complete is noted as
// taking its serial's record away. Records that an "Add MORE" button stored
// before the last are not noted, and memos are not compared. `step` is read at
// each completion.
void WatchFormSaves(SavedRecords& saved, const long& step);

// A StoredReader over the KMF files of the current folder. Call it only once
// the program has ended and closed them.
bool ReadStoredFile(const std::string& file, std::multiset<std::string>& records,
                    std::string& problem);

}  // namespace soak
