// wordstrip: converts Word documents through an office automation server.
#include "Program.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    return wordstrip::RunWordstrip(std::vector<std::string>(argv, argv + argc));
}
