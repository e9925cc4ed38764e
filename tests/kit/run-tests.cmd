@echo off
rem Runs Quillet's Windows test suites against the files beside this script:
rem from any folder, as the user who starts it, with nothing installed.
rem Close Quillet first, and leave the keyboard and mouse alone while it runs
rem (about three minutes): the end-to-end suite hears every key event.
rem
rem   run-tests.cmd [--timeout SECONDS] [--desktop | --headless]
rem                 [--logs FOLDER] [PATH\TO\Quillet.exe]
rem
rem With a path, it judges that Quillet.exe (another build) by the suites
rem that drive the program from outside. run_suites.exe does the work: it
rem stops a suite that hangs and reads a crash as a failure, which cmd
rem cannot. Prints one line per suite and the totals, and names the folder
rem that keeps each suite's output. Exit code 0 when nothing failed.
setlocal EnableExtensions
rem A variable named ERRORLEVEL or CMDCMDLINE in the environment would stand
rem in for cmd's own values of these names: cleared here, they are cmd's.
set "ERRORLEVEL="
set "CMDCMDLINE="
rem A double-click starts "cmd /c" on this script; the runner then waits for
rem a key at the end, so that the window does not close on the totals.
set "QUILLET_KIT_CMDLINE=%cmdcmdline%"
if not exist "%~dp0run_suites.exe" (
    echo run_suites.exe is missing beside run-tests.cmd: unpack the whole kit, and
    echo check whether a security tool has taken it away.
    exit /b 1
)
"%~dp0run_suites.exe" %*
rem A crashed runner leaves a negative status, which "if errorlevel 1" misses.
if %errorlevel% equ 0 exit /b 0
if %errorlevel% equ 2 exit /b 2
if %errorlevel% neq 1 echo run_suites.exe ended with status %errorlevel%
exit /b 1
