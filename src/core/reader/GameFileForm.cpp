#include "reader/GameFileForm.h"

#include <fcntl.h>

int OpenGameFile(const std::string& path)
{
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}
