// The object model: lists, lookups, properties, events and output settings.
#include <kintrail/winnow/winnowgedcom.h>

#include <algorithm>
#include <utility>

#include <kintrail/platform/messagepump.h>

#include "outputchannel.h"
#include "winnowimpl.h"

namespace kt::winnow {
namespace {
thread_local bool messageCallbackInstalled = false;
}  // namespace

void PumpMessages(int times) {
  if (!messageCallbackInstalled) return;
  for (int i = 0; i < times; ++i) kt::ProcessPendingMessages();
}

void WinnowGEDCOM::Impl::RaiseAddIndividual(int32_t number, int32_t statusCode) {
  // A sink may unadvise itself from inside the event: iterate over a copy.
  const std::vector<Sink> current = sinks;
  for (const Sink& s : current) s.events->OnAddIndividual(number, statusCode);
}

void WinnowGEDCOM::Impl::RaiseAddMarriage(int32_t number, int32_t statusCode) {
  const std::vector<Sink> current = sinks;
  for (const Sink& s : current) s.events->OnAddMarriage(number, statusCode);
}

void WinnowGEDCOM::Impl::Clear() {
  individuals.Reset();
  self.LIndividualsCount = 0;
  marriages.Reset();
  self.LMarriagesCount = 0;
  lastNames.Reset();
  places.Reset();
}

void WinnowGEDCOM::Impl::AddIndividual(TCGedcomIndividual* individual) {
  self.LIndividualsCount = individuals.Append(individual, self.LIndividualsCount, 50);
  if ((self.LIndividualsCount & 31) == 31) {
    RaiseAddIndividual(self.LIndividualsCount, status);
    PumpMessages();
  }
}

void WinnowGEDCOM::Impl::AddMarriage(TCGedcomMarriage* marriage) {
  self.LMarriagesCount = marriages.Append(marriage, self.LMarriagesCount, 50);
  if ((self.LMarriagesCount & 15) == 15) {
    RaiseAddMarriage(self.LMarriagesCount, status);
    PumpMessages();
  }
}

// Each lookup gives what the forward scan from index 0 would give: the lowest
// index below the count whose key is equal; the position is left where that
// scan stops (the hit, or the count).
int32_t WinnowGEDCOM::Impl::FindIndiv(const std::string& id) {
  const int32_t found = individuals.Find(id, self.LIndividualsCount);
  indivSearchPosition = found >= 0 ? found : std::max(self.LIndividualsCount, 0);
  return found;
}

int32_t WinnowGEDCOM::Impl::FindFam(const std::string& id) {
  const int32_t found = marriages.Find(id, self.LMarriagesCount);
  famSearchPosition = found >= 0 ? found : std::max(self.LMarriagesCount, 0);
  return found;
}

int32_t WinnowGEDCOM::Impl::FindLastName(const std::string& name) {
  const int32_t found = lastNames.Find(name);
  lastNameSearchPosition = found >= 0 ? found : static_cast<int32_t>(lastNames.entries.size());
  return found;
}

int32_t WinnowGEDCOM::Impl::FindPlaceId(const std::string& name) {
  const int32_t found = places.Find(name);
  placeSearchPosition = found >= 0 ? found : static_cast<int32_t>(places.entries.size());
  return found;
}

int32_t WinnowGEDCOM::Impl::RegisterPlace(const std::string& name) {
  if (name.find_first_not_of(' ') == std::string::npos) return -1;
  const int32_t found = places.Find(name);
  return found >= 0 ? found : places.Add(name);
}

WinnowGEDCOM::WinnowGEDCOM() : impl_(std::make_unique<Impl>(*this)) {
  OutputSettings& out = ThreadOutput();
  out.StringAtBeginning.clear();
  out.StringAtEnd.clear();
}

WinnowGEDCOM::~WinnowGEDCOM() = default;

void WinnowGEDCOM::removeAll() { impl_->Clear(); }

int32_t WinnowGEDCOM::FindIndiv(const std::string& indivId) { return impl_->FindIndiv(indivId); }

int32_t WinnowGEDCOM::FindFam(const std::string& famId) { return impl_->FindFam(famId); }

std::shared_ptr<TCGedcomIndividual> WinnowGEDCOM::getIndiv(int32_t l) const {
  return impl_->individuals.Share(l, LIndividualsCount);
}

std::shared_ptr<TCGedcomMarriage> WinnowGEDCOM::getMarri(int32_t l) const {
  return impl_->marriages.Share(l, LMarriagesCount);
}

int32_t WinnowGEDCOM::FindPlaceId(const std::string& Name) { return impl_->FindPlaceId(Name); }

void WinnowGEDCOM::SetCharEncodingForGedcom(int16_t ce) { ThreadOutput().CharEncoding = ce; }

std::string WinnowGEDCOM::SetFilename(const std::string& fn) {
  return std::exchange(ThreadOutput().OutputFileName, fn);
}

std::string WinnowGEDCOM::SetStringAtBeginning(const std::string& strAtBeginning) {
  return std::exchange(ThreadOutput().StringAtBeginning, strAtBeginning);
}

std::string WinnowGEDCOM::SetStringAtEnd(const std::string& strAtEnd) {
  return std::exchange(ThreadOutput().StringAtEnd, strAtEnd);
}

uint32_t WinnowGEDCOM::Advise(WinnowGEDCOMEvents* sink) {
  if (sink == nullptr) return 0;
  const uint32_t cookie = impl_->nextCookie++;
  impl_->sinks.push_back({cookie, sink});
  return cookie;
}

void WinnowGEDCOM::Unadvise(uint32_t cookie) {
  auto& sinks = impl_->sinks;
  sinks.erase(std::remove_if(sinks.begin(), sinks.end(), [cookie](const Impl::Sink& s) { return s.cookie == cookie; }),
              sinks.end());
}

int32_t WinnowGEDCOM::Status() const { return impl_->status; }
const std::string& WinnowGEDCOM::CharSet() const { return impl_->charSet; }
const std::string& WinnowGEDCOM::RecordTextCharSet() const { return impl_->recordTextCharSet; }
const std::vector<std::string>& WinnowGEDCOM::LastNames() const { return impl_->lastNames.entries; }
const std::vector<std::string>& WinnowGEDCOM::Places() const { return impl_->places.entries; }
int32_t WinnowGEDCOM::ExtractedIndividuals() const { return impl_->extractedIndividuals; }
int32_t WinnowGEDCOM::ExtractedFamilies() const { return impl_->extractedFamilies; }
int16_t WinnowGEDCOM::ExtractMinYear() const { return impl_->extractMinYear; }
int16_t WinnowGEDCOM::ExtractMaxYear() const { return impl_->extractMaxYear; }
int32_t WinnowGEDCOM::IndividualsCapacity() const { return static_cast<int32_t>(impl_->individuals.slots.size()); }
int32_t WinnowGEDCOM::MarriagesCapacity() const { return static_cast<int32_t>(impl_->marriages.slots.size()); }

void SetProcessMessagesCallback(void (*callback)(void* context), void* context) {
  kt::SetProcessMessagesCallback(callback, context);
  messageCallbackInstalled = callback != nullptr;
}

std::string OutputFileName() { return ThreadOutput().OutputFileName; }

int16_t CharEncoding() { return ThreadOutput().CharEncoding; }

}  // namespace kt::winnow
