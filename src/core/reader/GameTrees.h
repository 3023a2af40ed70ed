#pragma once

#include <cstdint>

class CTextStream;

// The game trees of a text record: a file may hold several, one after the
// other at its top level ("(;...)(;...)"), each a game of its own. The rest
// of a tree after its root node is passed over by CTextStream::SkipTree;
// these pass over the bytes before a tree's first node, which may open and
// close trees too.

// How deep the stream stands after consuming the bytes from its position
// up to (not including) position end, starting depth deep: each "(" outside
// a value opens, each ")" closes.
int DepthAfter(CTextStream& stream, std::uint64_t end, int depth);

// A skipped game value whose "[" was consumed: consumes up to and including
// its "]". False when the input ends first.
bool SkipValue(CTextStream& stream);
