#pragma once

#include <cstdint>

class CTextStream;

// The game trees of a text record: a file may hold several, one after the
// other at its top level ("(;...)(;...)"), each a game of its own. These
// walk the bytes between root nodes without reading them, so finding where
// the next game starts costs one pass over the file.

// Consumes the rest of a game tree from inside it, depth parentheses deep
// (1: in the top-level tree, outside its variations), up to and including
// the ")" that closes it. A value's bytes, escapes included, never count as
// parentheses. False when the input ends first (the tree is cut short).
bool SkipToTreeEnd(CTextStream& stream, int depth);

// How deep the stream stands after consuming the bytes from its position
// up to (not including) position end, starting depth deep: each "(" outside
// a value opens, each ")" closes.
int DepthAfter(CTextStream& stream, std::uint64_t end, int depth);

// A skipped game value whose "[" was consumed: consumes up to and including
// its "]". False when the input ends first.
bool SkipValue(CTextStream& stream);
