#pragma once
// Start-up and shutdown, run once each in this order: ProgramMain, Initialize, Main, EarlyStartup,
// InitFileTypes, FileTypes::Initialize, NewAppInstance, ApplicationAddMenuHandlers, LateStartup,
// MakeDefaultView, Finalize.

#include "framework/application/Application.h"
#include "framework/runtime/ApplicationIdentity.h"

// The process entry's work: returns the process exit status.
int ProgramMain();

// What start-up tells the framework of the program before anything else: its name, its executable's name
// and its version, which comes from the build.
Ovelund::ApplicationIdentity ProgramIdentity();

// Registers every class with the runtime: the framework's first, then the program's own.
void Initialize();
// Runs start-up and the event loop; any exception from either goes to the unhandled-exception report, after
// which finalisation runs and the process ends with status 1.
void Main();
void EarlyStartup();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void LateStartup();
void MakeDefaultView();
// Releases the globals: the framework's first, then the program's.
void Finalize();
