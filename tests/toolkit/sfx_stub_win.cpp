// Stands in for a self-extractor's program in the archive tests: the archive is appended to
// it, and its exit code shows that the file still starts after the zip control updated it.
#include <cstdio>

int main()
{
    std::puts("self-extractor stub");
    return 42;
}
