#pragma once

#include <cstdint>
#include <string>

// The numbered notifications the document sends to all its views.
enum EUpdateHint : int {
    hintFileAdded = 1,    // payload: path
    hintFileRemoved = 2,  // payload: path, or none when all entries were removed
    hintLoadCount = 3,    // payload: count, the records a collection file announces
    hintIdle = 4,         // no payload
    hintFlagsChanged = 5, // payload: tag and flags
    hintBatchDone = 6,    // no payload
    hintFileChanged = 7,  // payload: path; the entry was read again
};

struct CHintPayload
{
    const std::string* path = nullptr; // hints 1, 2 and 7; nullptr for none
    std::int32_t count = 0;            // hint 3
    std::int32_t tag = 0;              // hint 5: the caller's tag (the view passes a row index)
    std::uint32_t flags = 0;           // hint 5: the entry's new flags word
};

class IDocView
{
public:
    virtual ~IDocView() = default;
    virtual void OnUpdate(int hint, const CHintPayload& payload) = 0;
};
