#include "ConnectionPointList.h"

namespace kv90com {

IEnumConnectionPoints* ConnectionPointList::create(const std::vector<IConnectionPoint*>& points, size_t position) {
    return new ConnectionPointList(points, position);
}

ConnectionPointList::ConnectionPointList(const std::vector<IConnectionPoint*>& points, size_t position)
    : points_(points), position_(position) {
    for (IConnectionPoint* point : points_) point->AddRef();
}

ConnectionPointList::~ConnectionPointList() {
    for (IConnectionPoint* point : points_) point->Release();
}

HRESULT ConnectionPointList::QueryInterface(REFIID id, void** object) {
    return answerQuery(static_cast<IEnumConnectionPoints*>(this), id, object,
                       {&IID_IUnknown, &IID_IEnumConnectionPoints});
}

HRESULT ConnectionPointList::Next(ULONG count, IConnectionPoint** points, ULONG* fetched) {
    if (!points || (count > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    while (given < count && position_ < points_.size()) {
        points[given] = points_[position_++];
        points[given]->AddRef();
        ++given;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT ConnectionPointList::Skip(ULONG count) {
    const size_t left = points_.size() - position_;
    position_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
}

HRESULT ConnectionPointList::Reset() {
    position_ = 0;
    return S_OK;
}

HRESULT ConnectionPointList::Clone(IEnumConnectionPoints** copy) {
    if (!copy) return E_POINTER;
    *copy = create(points_, position_);
    return S_OK;
}

}  // namespace kv90com
