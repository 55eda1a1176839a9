@echo off
echo Hello from Brennick Demo.
echo Installed in %~dp0
pause
