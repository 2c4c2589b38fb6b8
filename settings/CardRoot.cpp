#include "settings/CardRoot.h"

QString CardRoot::s_root;
