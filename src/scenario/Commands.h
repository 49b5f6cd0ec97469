#pragma once
#include "scenario/CommandArguments.h"
#include "scenario/ScenarioSession.h"

// The script commands, one function each, grouped by what they do. Each takes the whole line,
// command word first, and throws BadLine for a line it cannot run or Failure for one that failed.
namespace quibbix::commands {

// Set-up: the random generator, loading the form, fields and procedures (SetUpCommands.cpp).
void Seed(ScenarioSession& session, const Words& words);
void QueueRandom(ScenarioSession& session, const Words& words);
void Start(ScenarioSession& session, const Words& words);
void Set(ScenarioSession& session, const Words& words);
void Call(ScenarioSession& session, const Words& words);

// What the player does with the pointer, the keyboard and the window (InputCommands.cpp).
void Pointer(ScenarioSession& session, const Words& words);
void Click(ScenarioSession& session, const Words& words);
void Key(ScenarioSession& session, const Words& words);
void Type(ScenarioSession& session, const Words& words);
void WindowState(ScenarioSession& session, const Words& words);
void Close(ScenarioSession& session, const Words& words);

// The virtual clock (ClockCommands.cpp).
void Tick(ScenarioSession& session, const Words& words);
void Wait(ScenarioSession& session, const Words& words);

// The state and the window written out (InspectionCommands.cpp).
void Dump(ScenarioSession& session, const Words& words);
void Shot(ScenarioSession& session, const Words& words);
void Sprite(ScenarioSession& session, const Words& words);

// Checks that end the script with status 1 when they do not hold (ExpectCommands.cpp).
void Expect(ScenarioSession& session, const Words& words);
void ExpectControl(ScenarioSession& session, const Words& words);
void ExpectPixel(ScenarioSession& session, const Words& words);
void ExpectSprite(ScenarioSession& session, const Words& words);

}  // namespace quibbix::commands
