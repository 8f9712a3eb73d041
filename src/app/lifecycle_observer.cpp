#include "app/lifecycle.h"

void (*lifecycleObserver)(const char* event) = nullptr;
