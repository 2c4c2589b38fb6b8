#include "settings/CardRoot.h"

CardRoot& CardRoot::Instance()
{
    static CardRoot root;
    return root;
}
