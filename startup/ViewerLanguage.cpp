#include "startup/ViewerLanguage.h"

ViewerLanguage& ViewerLanguage::Instance()
{
    static ViewerLanguage language;
    return language;
}
