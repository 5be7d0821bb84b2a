#include "automation/ObjectHolder.h"

#include "platform/com/Ref.h"
#include "platform/com/VariantApi.h"
#include "runtime/RuntimeHeap.h"

namespace vellumry::automation {

ObjectHolder* NewObjectHolder()
{
    auto* holder = static_cast<ObjectHolder*>(runtime::RuntimeAlloc(sizeof(ObjectHolder)));
    holder->object = nullptr;
    holder->recordData = nullptr;
    return holder;
}

VARIANT* NewVariantBlock()
{
    auto* variant = static_cast<VARIANT*>(runtime::RuntimeAlloc(sizeof(VARIANT)));
    VariantInit(variant);
    return variant;
}

VARIANT* NewIntegerZeroVariant()
{
    VARIANT* variant = NewVariantBlock();
    variant->vt = VT_I4;
    return variant;
}

void ClearHolder(ObjectHolder* holder)
{
    if (!holder)
        return;
    if (holder->recordData) {
        // The record's description destroys its data; without one the data
        // is a plain block of the runtime heap.
        auto description = com::Ref<IRecordInfo>::QueryFrom(holder->object);
        if (description)
            description->RecordDestroy(holder->recordData);
        else
            runtime::RuntimeFree(holder->recordData);
        holder->recordData = nullptr;
    }
    if (IUnknown* object = holder->object) {
        holder->object = nullptr;
        object->Release();
    }
}

}  // namespace vellumry::automation
