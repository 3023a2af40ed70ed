#include "report/RowCompare.h"

int CompareRows(std::string_view a, std::string_view b, bool ascending)
{
    // string_view compares its bytes as unsigned values, so a high byte of a
    // multibyte character sorts after every ASCII character.
    const int result = ascending ? a.compare(b) : b.compare(a);
    return (result > 0) - (result < 0);
}
