@echo off
rem Runs Quillet's Windows test suites against the files beside this script:
rem from any folder, as the user who starts it, with nothing installed.
rem Leave the keyboard and mouse alone while it runs (about three minutes):
rem the end-to-end suite hears every key event and expects only Quillet's.
rem
rem Prints one line per suite and the totals, and keeps each suite's whole
rem output in a folder under %TEMP%, named at the end. Exit code 0 when every
rem suite passed, 1 otherwise.
setlocal EnableExtensions
set "kit=%~dp0"
set "logs=%TEMP%\quillet-tests-%RANDOM%%RANDOM%"
mkdir "%logs%"
if not exist "%logs%\" (
    echo Cannot make the folder %logs%
    exit /b 1
)
set /a passed=0
set /a failed=0

call :suite engine_tests "%kit%engine_tests.exe"
call :suite window_tests "%kit%window_tests.exe"
call :suite win_main_tests "%kit%win_main_tests.exe" "%kit%Quillet.exe"
call :suite resources_tests "%kit%resources_tests.exe" "%kit%Quillet.exe" "%kit%quillet.ico"
call :suite fatal_path_tests "%kit%fatal_path_tests.exe" "%kit%fatal_probe.exe"
call :suite quillet_zone_tests "%kit%quillet_zone_tests.exe" "%kit%Quillet.exe"
call :suite quillet_e2e_tests "%kit%quillet_e2e_tests.exe" "%kit%Quillet.exe" "%kit%key_recorder.exe"
call :suite quillet_leak_tests "%kit%quillet_leak_tests.exe" "%kit%Quillet.exe"

echo %passed% passed, %failed% failed
echo Output of each suite: %logs%
if %failed% neq 0 exit /b 1
exit /b 0

rem One suite: name, executable, its arguments.
:suite
"%~2" %3 %4 >"%logs%\%~1.txt" 2>&1
if errorlevel 1 (
    set /a failed+=1
    echo FAILED  %~1
) else (
    set /a passed+=1
    echo passed  %~1
)
exit /b 0
