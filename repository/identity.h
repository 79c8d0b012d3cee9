#pragma once
// Text forms of document and database identities, and the token helpers loaders
// use to take stored composite texts apart.

#include <optional>
#include <string>

#include "repository/store/lnnote.h"

// 32 upper-case hex digits: words w1, w0, w3, w2.
std::string FormatUniversalId(const LNUNID& universalId);
// "w1:w0", each as 8 upper-case hex digits: 17 characters.
std::string FormatReplicaId(const LNREPLICAID& replicaId);
// 8 upper-case hex digits.
std::string FormatNoteId(LNNOTEID noteId);

// The reverse of the formatters. Hex digits of either case are accepted; anything
// but the exact shape (length, colon, hex digits) gives nullopt. A note id may
// have fewer than 8 digits, since people type them by hand.
std::optional<LNUNID> ParseUniversalId(const std::string& text);
std::optional<LNREPLICAID> ParseReplicaId(const std::string& text);
std::optional<LNNOTEID> ParseNoteId(const std::string& text);

// Returns the part before the first `separator` and leaves the rest after it in
// `text`. Without a separator: returns all of `text` and leaves it empty.
std::string SplitFirstToken(std::string& text, char separator);
// Returns the part after the last `separator` and leaves the part before it in
// `text`. Without a separator: returns all of `text` and leaves it empty.
std::string SplitLastToken(std::string& text, char separator);
// The parts between separators in reverse order, joined by `separator`:
// "a/b/c" gives "c/b/a". Empty parts keep their places.
std::string ReverseTokens(const std::string& text, char separator);
