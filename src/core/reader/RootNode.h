#pragma once

#include "reader/PropertyTable.h"
#include "reader/RecordTokenizer.h"

#include <cstdint>

// How the properties of one node ended.
enum class ENodeEnd {
    Semicolon,     // a ";" closes the node
    Open,          // a "(" closes the node (a variation starts)
    Close,         // a ")" closes the node (its tree ends)
    End,           // the input ended after a whole property
    IdentifierCut, // the input ended in an identifier that has no value
    ValueCutOff,   // the input ended inside a value
    TooLarge,      // the tokenizer's limit was reached
};

// Reads the properties of the node that starts at the tokenizer's position
// into table, up to the token that ends it. A value right after another
// value goes under the empty identifier; an identifier without a value
// (before a ";", "(" or ")") is dropped. values, when given, counts the
// values read.
ENodeEnd ReadNodeProperties(CRecordTokenizer& tokens, CPropertyTable& table, std::size_t* values = nullptr);

// Where the root node of a text record starts.
enum class ERootStart {
    Bare,      // right after the "(", without a ";"
    AfterNode, // after the first ";"
    None,      // the input has no "(", or nothing after the first ";"
};

// Finds the root node of the first game tree from the start of the
// tokenizer's stream and leaves the stream at its first property. Some
// servers write the game information right after the "(", without the ";"
// of the root node: (TE[...]PB[...];B[qd]. That is the root node when it has
// a value and ends in a ";" before any "(" or ")", before the end of the
// input and within maxRootBytes; its properties then go to bareProperties.
// Anything else (as in (CA[UTF-8])(;FF[4]...)) is read as always, with
// everything before the first ";" passed over. The tokenizer's limit is the
// bare node's afterwards: the caller sets its own.
ERootStart FindRootNode(CRecordTokenizer& tokens, std::uint64_t maxRootBytes, CPropertyTable& bareProperties);

// The limit for a root node of at most maxRootBytes that starts at start.
std::uint64_t RootNodeLimit(std::uint64_t start, std::uint64_t maxRootBytes);
