#include "cli/cliapp.h"

int main(int argc, char** argv)
{
    return talik::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
