#include "forms/application.h"
int RunVesk(int, char**) { return 0; }
