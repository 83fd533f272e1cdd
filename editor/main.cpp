#include "QuillformApp.h"

int main(int argc, char** argv)
{
    QZMain(argc, argv);
    return 0;
}
