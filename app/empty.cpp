// Quillet.exe's own translation unit: everything, wWinMain included, comes
// from quillet_app, which the window tests link as well.
