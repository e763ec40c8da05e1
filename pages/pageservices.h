#pragma once

class AnalogOutputCollection;
class DataBase;
class LogDBMgr;
class MyActiveObjectEngine;
class PageHost;

// What a page is handed when it is made: the point database and the main window (every page uses
// both; TPageFrame keeps them), and the services that only some pages use, which those pages take
// in their constructors. The main window makes these before its pages and lets them go after its
// pages are gone; a page tested alone is handed the test's own.
struct PageServices {
    DataBase& database;
    PageHost& host;
    LogDBMgr& logDatabase;
    const AnalogOutputCollection& analogOutputs;
    MyActiveObjectEngine& engine;
};
