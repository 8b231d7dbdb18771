// Area passwords and their digests.
#include "ui/password.h"

#include <cctype>

int password_digest(int k0, int k1, int k2, int k3)
{
    k0 &= 0xff;
    k1 &= 0xff;
    k2 &= 0xff;
    k3 &= 0xff;
    return k1 * k0 + k2 - k3;
}

int password_text_digest(const char *password, bool lower_case)
{
    int k[4];
    for (int i = 0; i < 4; i++) {
        unsigned char c = static_cast<unsigned char>(password[i]);
        k[i] = lower_case ? std::tolower(c) : c;
    }
    return password_digest(k[0], k[1], k[2], k[3]);
}

int area_for_digest(int digest)
{
    for (int area = 1; area <= AREA_COUNT; area++) {
        const char *password = AREA_PASSWORDS[area - 1];
        if (digest == password_text_digest(password, false) ||
            digest == password_text_digest(password, true))
            return area;
    }
    return 0;
}
