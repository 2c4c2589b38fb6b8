#include "app/CSettingApp.h"

int main(int argc, char* argv[])
{
    return CSettingApp::Run(argc, argv);
}
