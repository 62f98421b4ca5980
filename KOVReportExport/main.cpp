#include "kovstartup.h"

int main(int argc, char** argv)
{
    return kovRunApplication(argc, argv);
}
