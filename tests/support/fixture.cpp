#include "fixture.h"

#include <cstring>
#include <stdexcept>

namespace vtrtest {

PropVal IdsValue(int prop, std::vector<ObjectId> ids) {
  PropVal pv;
  pv.prop = prop;
  pv.value.type = host::kValueIds;
  pv.value.ids = std::move(ids);
  return pv;
}

std::string PluginPath() {
  return VTR_PLUGIN_PATH;
}
std::string TestClientPath() {
  return VTR_TEST_CLIENT_PATH;
}

std::unique_ptr<TestClient> TestClient::Load(headless::Host& host, std::string* error) {
  int index = host.loadClient(TestClientPath(), error);
  if (index < 0) return nullptr;
  void* apiSymbol = host.clientSymbol(index, "VtrTestClientApi");
  void* hooksSymbol = host.clientSymbol(index, "VtrTestClientHooks");
  if (!apiSymbol || !hooksSymbol) {
    if (error) *error = "the test client lacks its exports";
    return nullptr;
  }
  VtrTestClientApiFn apiFn = nullptr;
  VtrTestClientHooksFn hooksFn = nullptr;
  std::memcpy(&apiFn, &apiSymbol, sizeof(apiFn));
  std::memcpy(&hooksFn, &hooksSymbol, sizeof(hooksFn));
  TestClientHooks* hooks = hooksFn();
  *hooks = TestClientHooks{};
  return std::unique_ptr<TestClient>(new TestClient(apiFn(), hooks, index));
}

void HostFixture::TearDown() {
  if (client_) client_->hooks() = TestClientHooks{};
}

ObjectId HostFixture::addDocument(const DocumentBuilder& builder, bool active) {
  ObjectId h = host.addDocument(builder.build());
  if (active) host.setActiveDocument(h);
  return h;
}

ObjectId HostFixture::addBook(const BookBuilder& builder, bool active) {
  ObjectId h = host.addBook(builder.build());
  if (active) host.setActiveBook(h);
  return h;
}

void HostFixture::storeDocument(const DocumentBuilder& builder) {
  Document d = builder.build();
  const std::string path = d.path();
  host.memoryStore()->put(path, std::move(d));
}

void HostFixture::storeBook(const BookBuilder& builder) {
  Book b = builder.build();
  const std::string path = b.path();
  host.memoryStore()->put(path, std::move(b));
}

void HostFixture::loadPlugin(bool initialize) {
  std::string error;
  ASSERT_GE(host.loadClient(PluginPath(), &error), 0) << error;
  if (initialize) host.initialize(host::kInitFirst);
}

TestClient& HostFixture::loadTestClient() {
  std::string error;
  client_ = TestClient::Load(host, &error);
  if (!client_) throw std::runtime_error("cannot load the test client: " + error);
  host.initialize(host::kInitFirst);
  return *client_;
}

Document& HostFixture::doc(ObjectId handle) {
  Document* d = host.document(handle);
  if (!d) throw std::runtime_error("no open document " + std::to_string(handle));
  return *d;
}

}  // namespace vtrtest
