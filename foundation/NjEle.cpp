#include "foundation/NjEle.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

N_DEFINE_CLASS_INFO(NjEle, NClassInfo)

namespace {
// An operation asked of an element of the wrong kind.
bool WrongKind()
{
    return NFail(nerr::kInvalidParameter);
}
}  // namespace

NjEle::~NjEle() = default;

int NjEle::Type() const { return kNjUndefined; }
size_t NjEle::Count() const { return 0; }
const void* NjEle::Payload() const { return nullptr; }
bool NjEle::GetMember(const NHTKey&, Njv&) const { return WrongKind(); }
bool NjEle::GetAt(ptrdiff_t, Njv&) const { return WrongKind(); }
bool NjEle::ForEachMember(const NjMemberVisitor&) const { return WrongKind(); }
bool NjEle::ListKeys(std::vector<std::wstring>&) const { return WrongKind(); }
bool NjEle::HasMember(const NHTKey&) const { return false; }
bool NjEle::Equals(const NjEle&, int) const { return false; }
bool NjEle::Write(NjOutCtx&) const { return NFail(nerr::kInvalidData); }
void NjEle::AddRef() {}
bool NjEle::Release() { return false; }
bool NjEle::Append(const Njv&) { return WrongKind(); }
bool NjEle::SetMember(const NHTKey&, const Njv&) { return WrongKind(); }
bool NjEle::InsertAt(ptrdiff_t, const Njv&) { return WrongKind(); }
bool NjEle::TakeMember(const NHTKey&, Njv&) { return WrongKind(); }
bool NjEle::SetAt(ptrdiff_t, const Njv&) { return WrongKind(); }
bool NjEle::RemoveRange(size_t, size_t) { return WrongKind(); }
bool NjEle::RemoveMember(const NHTKey&) { return WrongKind(); }
bool NjEle::Clear() { return WrongKind(); }
