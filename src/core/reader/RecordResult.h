#pragma once

// How reading one record ended.
enum class ERecordResult {
    Read,
    NotARecord,
    TooLarge,  // larger than the limit it was read with
    FileError, // reported to the hooks already
};
