// Links one function of one more static library than the shipped programs
// do, so that the notices check has an archive it must refuse by name.
#include <zlib.h>

int main()
{
    static const unsigned char text[] = "Quillet";
    return crc32(0L, text, sizeof text - 1) == 0 ? 1 : 0;
}
