// Fixture files and registry checks shared by the registration tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tolvane_test {

// Library identifier of the fixture type library (fixtures/fixture_typelib.idl).
extern const char kFixtureLibId[];

// Built fixtures next to the test executable.
std::string FixtureServer();    // registers HKCU\Software\TolvaneTests\<base name>
std::string FixtureFailing();   // exports return E_FAIL
std::string FixtureCrash();     // exports fault
// Misbehaves as the name of its copy says (fixtures/fixture_misbehaving.cpp).
std::string FixtureMisbehaving();
// Every server whose registration must fail, as (fixture, file name) pairs: no exports, E_FAIL,
// a fault, and each misbehaviour but "hang", whose run takes the time limit.
std::vector<std::pair<std::string, std::string>> FailingServerCases();
std::string FixtureNoExport();  // loads, but lacks the exports
std::string FixtureTypeLib();

// Copies a fixture to `target`, creating its folder. False on failure.
bool PlaceFixture(const std::string& fixture, const std::string& target);

// The key of a fixture server copy named <base name>.dll.
bool ServerKeyExists(const std::string& base_name);
std::string ServerCalledFrom(const std::string& base_name);
void DeleteServerKey(const std::string& base_name);

// HKCR\TypeLib\{libid}: the fixture library's key.
std::string TypeLibKey();
// HKCR\TypeLib\{libid}\1.0 of the fixture library.
bool FixtureTypeLibRegistered();
void RemoveFixtureTypeLibRegistration();

// Writes section REGISTER with REG1.. from `values` into a new file.
bool WriteRegisterList(const std::string& file, const std::vector<std::string>& values);

}  // namespace tolvane_test
