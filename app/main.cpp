#include "app/TALIKLD.h"

int main(int argc, char** argv)
{
    return talik::Main(argc, argv);
}
