// Reading Service.ini: defaults, origins as browsers send them, bad values named.
#include "service/ServiceConfig.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

std::string WriteIni(const std::string& body) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "kv90_service_test.ini";
    std::ofstream(path, std::ios::binary) << "[Service]\r\n" << body;
    return path;
}

TEST(ServiceConfigTest, MissingFileGivesTheSafeDefaults) {
    std::vector<std::string> problems;
    const ServiceConfig config = ReadServiceConfig("Z:\\no\\such\\Service.ini", problems);
    EXPECT_EQ(config.Port, ServiceConfig::kDefaultPort);
    EXPECT_TRUE(config.AllowedOrigins.empty());
    EXPECT_FALSE(config.AllowLocalTools);
    EXPECT_TRUE(problems.empty());
}

TEST(ServiceConfigTest, ReadsPortOriginsAndLocalTools) {
    const std::string path = WriteIni(
        "Port=18080\r\nAllowedOrigins=https://Enrol.Example.cn/, http://localhost:8080;https://enrol.example.cn\r\n"
        "AllowLocalTools=1\r\n");
    std::vector<std::string> problems;
    const ServiceConfig config = ReadServiceConfig(path, problems);
    std::remove(path.c_str());
    EXPECT_EQ(config.Port, 18080);
    EXPECT_EQ(config.AllowedOrigins, std::vector<std::string>({"https://enrol.example.cn", "http://localhost:8080"}));
    EXPECT_TRUE(config.AllowLocalTools);
    EXPECT_TRUE(problems.empty());
}

TEST(ServiceConfigTest, BadValuesAreNamedAndLeftOut) {
    const std::string path = WriteIni(
        "Port=99999\r\nAllowedOrigins=*, null, ftp://x.cn, https://ok.cn/path, https://ok.cn\r\n"
        "AllowLocalTools=yes\r\n");
    std::vector<std::string> problems;
    const ServiceConfig config = ReadServiceConfig(path, problems);
    std::remove(path.c_str());
    EXPECT_EQ(config.Port, ServiceConfig::kDefaultPort);
    EXPECT_EQ(config.AllowedOrigins, std::vector<std::string>({"https://ok.cn"}));
    EXPECT_FALSE(config.AllowLocalTools);
    EXPECT_EQ(problems.size(), 5u);
}

TEST(ServiceConfigTest, DefaultWebPortsAreRefused) {
    // Browsers send no port in Host for these, so no page could pass the host check.
    for (const char* port : {"80", "443"}) {
        const std::string path = WriteIni(std::string("Port=") + port + "\r\n");
        std::vector<std::string> problems;
        const ServiceConfig config = ReadServiceConfig(path, problems);
        std::remove(path.c_str());
        EXPECT_EQ(config.Port, ServiceConfig::kDefaultPort) << port;
        EXPECT_EQ(problems, std::vector<std::string>({std::string("Port=") + port}));
    }
}

TEST(ServiceConfigTest, NormalOriginTakesOnlySchemeHostAndPort) {
    EXPECT_EQ(NormalOrigin("HTTP://LocalHost:8080/"), "http://localhost:8080");
    EXPECT_EQ(NormalOrigin("https://[::1]:8443"), "https://[::1]:8443");
    EXPECT_EQ(NormalOrigin("https://user@site.cn"), "");
    EXPECT_EQ(NormalOrigin("https://site.cn:99999"), "");
    EXPECT_EQ(NormalOrigin("https://"), "");
    EXPECT_EQ(NormalOrigin("site.cn"), "");
}

}  // namespace
