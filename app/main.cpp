#include <cstdio>

int main() {
    std::puts("Orvella: the week screen is not built yet.");
    return 0;
}
