// The data module and the capture window over a fresh program folder.
#pragma once

#include "TempFolder.h"

#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "forms/Main.h"

#include <gtest/gtest.h>

class MainFixture : public testing::Test {
protected:
    void SetUp() override {
        folder.MakeDir("LogFiles");
        folder.MakeDir("Config");
        folder.MakeDir("Temp");
        dm = new TDM(nullptr);
        dm->DoCreate();
        dm->AppPath = folder.Path();
        // The log always lies beside the running program, here the test program.
        CreateDirectoryA((TSysOper::GetAppPath() + "LogFiles").c_str(), nullptr);
        const size_t beforeCreate = ReadLog().size();
        main = new TFrm_Main(nullptr);
        main->DoCreate();
        createLog = ReadLog().substr(beforeCreate);
        logStart = beforeCreate + createLog.size();
    }
    void TearDown() override {
        delete main;
        delete dm;
    }

    // What the log received since the test began.
    std::string Log() const { return ReadLog().substr(logStart); }
    static std::string ReadLog();
    // Gives a slot image a small picture, as a stored finger would.
    void Occupy(TImage* image) const;

    TempFolder folder;
    TDM* dm = nullptr;
    TFrm_Main* main = nullptr;
    size_t logStart = 0;
    std::string createLog;  // what the window's creation logged
};
