#include <cstdio>

int main()
{
    std::puts("WORDSTRIP - Word OLE Document Converter, Ver.1.5");
    return 0;
}
