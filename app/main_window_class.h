// The main window's class name: the program registers it, and the tools and
// tests that look for a running Quillet find its window by it.
#pragma once

#define QUILLET_WINDOW_CLASS L"QuilletVigiloWindow"
