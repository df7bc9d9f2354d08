// The host fixture for tests: a fresh headless host per test, with helpers
// to open built documents and books and to load the plug-in or the test
// client library.
#ifndef VELTRANO_TESTS_SUPPORT_FIXTURE_H
#define VELTRANO_TESTS_SUPPORT_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "builder.h"
#include "headless/host.h"
#include "readers.h"
#include "test_client/test_client_api.h"

namespace vtrtest {

// A property value holding a list of handles, as the plug-in builds one.
PropVal IdsValue(int prop, std::vector<ObjectId> ids);

// Where the build put the plug-in and the test client library.
std::string PluginPath();
std::string TestClientPath();

// The test client library loaded into a host. Only one host at a time may
// have it loaded: a library is loaded once per process.
class TestClient {
 public:
  // Null, with the reason in `error`, when it cannot be loaded.
  static std::unique_ptr<TestClient> Load(headless::Host& host, std::string* error = nullptr);

  const TestClientApi& api() const { return *api_; }
  TestClientHooks& hooks() { return *hooks_; }
  int index() const { return index_; }

 private:
  TestClient(const TestClientApi* api, TestClientHooks* hooks, int index)
      : api_(api), hooks_(hooks), index_(index) {}
  const TestClientApi* api_;
  TestClientHooks* hooks_;
  int index_;
};

class HostFixture : public ::testing::Test {
 protected:
  void TearDown() override;

  // Opens a built document or book in the host; `active` makes it the
  // active one.
  ObjectId addDocument(const DocumentBuilder& builder, bool active = true);
  ObjectId addBook(const BookBuilder& builder, bool active = true);
  // Puts a built document or book into the host's store under its path, so
  // that a client can open it.
  void storeDocument(const DocumentBuilder& builder);
  void storeBook(const BookBuilder& builder);

  // Loads the plug-in and, unless told otherwise, initialises it with code 1.
  void loadPlugin(bool initialize = true);
  // Loads the test client and initialises it with code 1.
  TestClient& loadTestClient();
  const TestClientApi& api() { return client_->api(); }

  Document& doc(ObjectId handle);
  ObjectId handleOf(ObjectId docOrBook, Id local) { return host.handleOf(docOrBook, local); }

  headless::Host host;

 private:
  std::unique_ptr<TestClient> client_;
};

}  // namespace vtrtest

#endif
