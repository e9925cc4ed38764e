// Resource ids shared by the resource script and the code that loads them.
#pragma once

#define IDI_QUILLET 101 // the application icon group
