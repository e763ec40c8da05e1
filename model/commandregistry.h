#pragma once

class FrameComm;
class MyActiveObjectEngine;

// Creates the named commands in their fixed order, registers them and hands each the window.
void RegisterCommands(MyActiveObjectEngine* engine, FrameComm* frame);
