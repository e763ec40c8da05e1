#pragma once

#include "commdbpointfacade.h"
#include "communications.h"
#include "database.h"
#include "dialogservice.h"
#include "securitychk.h"
#include "statemgr.h"
#include "testenv.h"
#include "unitmodel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

// The emulated unit behind the real device messages, without a wire: every message is recorded,
// and raw values set in `values` (by entry index; texts as their characters) reach the unit
// before the next exchange.
class TableLink : public MessageLink {
public:
    UnitModel unit;
    std::map<std::uint16_t, std::vector<std::uint8_t>> values;
    std::vector<std::vector<std::uint8_t>> sent;
    int failWithStatus = 0;  // raise this status on the next exchange

    int SendReceive(const std::uint8_t* message, std::uint8_t* answer, int capacity, bool) override
    {
        for (const auto& [index, bytes] : values)
            unit.setRawValue(index,
                             QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())));
        values.clear();
        sent.emplace_back(message, message + message[0]);
        if (failWithStatus) {
            const int s = failWithStatus;
            failWithStatus = 0;
            throw CommStatusError(s);
        }
        const auto reply = unit.handleMessage(QByteArray(reinterpret_cast<const char*>(message), message[0]));
        if (!reply)
            throw CommStatusError(4);
        if (reply->size() == 2 && static_cast<std::uint8_t>(reply->at(1)) == 0xFF)
            throw CommStatusError(3);
        if (reply->size() > capacity)
            throw CommStatusError(21);
        std::memcpy(answer, reply->constData(), static_cast<std::size_t>(reply->size()));
        return static_cast<int>(reply->size());
    }

    int countType(std::uint8_t type) const
    {
        int n = 0;
        for (const auto& m : sent)
            n += m[1] == type;
        return n;
    }
};

// A fresh database over a TableLink for each test.
class DatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        testenv::dialogs().clear();
        // The write trace goes to the data directory, never to the working folder.
        SecurityChk::Instance()->SetDataDirectory();
        auto facade = std::make_unique<CommDBPointFacade>(link);
        CommDBPointFacade::InstallInstance(std::move(facade));
        db = DataBase::Instance();
    }
    void TearDown() override
    {
        DataBase::ReleaseInstance();
        CommDBPointFacade::ReleaseInstance();
        StateMgr::ReleaseInstance();
        SecurityChk::ReleaseInstance();
    }

    static std::uint16_t indexOf(int pointId)
    {
        Ridovaz17041417 map;
        for (int i = 0; i < map.GetCount(); ++i)
            if (map.GetPointId(static_cast<std::uint16_t>(i)) == pointId)
                return static_cast<std::uint16_t>(i);
        return 0xFFFF;
    }

    TableLink link;
    DataBase* db = nullptr;
};
