#include "platform/win32/PngWriter.h"

#include <objbase.h>
#include <wincodec.h>

#include "platform/win32/UniqueHandle.h"

namespace {

// COM for this thread while the object lives, when this call started it. The
// multithreaded apartment: the encoder is an in-process object of either model, and a
// thread that pumps no messages, as a console program's does not, belongs in no
// single-threaded one.
class ComApartment {
public:
    ComApartment() : m_started(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComApartment()
    {
        if (m_started)
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_started;
};

// The bytes a stream on global memory holds.
bool StreamBytes(IStream* stream, std::string& bytes)
{
    STATSTG stat{};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(::GetHGlobalFromStream(stream, &memory)))
        return false;
    const void* data = ::GlobalLock(memory);
    if (data == nullptr)
        return false;
    bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(stat.cbSize.QuadPart));
    ::GlobalUnlock(memory);
    return true;
}

}  // namespace

bool EncodePng(const void* bits, int width, int height, int stride, std::string& png)
{
    const ComApartment com;
    ComObject<IWICImagingFactory> factory;
    ComObject<IStream> stream;
    ComObject<IWICBitmapEncoder> encoder;
    ComObject<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    const UINT size = static_cast<UINT>(stride) * static_cast<UINT>(height);
    const bool encoded =
        SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                     reinterpret_cast<void**>(factory.put()))) &&
        SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) &&
        SUCCEEDED(factory.get()->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
        SUCCEEDED(encoder.get()->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder.get()->CreateNewFrame(frame.put(), nullptr)) &&
        SUCCEEDED(frame.get()->Initialize(nullptr)) &&
        SUCCEEDED(frame.get()->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
        SUCCEEDED(frame.get()->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR &&
        SUCCEEDED(frame.get()->WritePixels(static_cast<UINT>(height), static_cast<UINT>(stride), size,
                                           static_cast<BYTE*>(const_cast<void*>(bits)))) &&
        SUCCEEDED(frame.get()->Commit()) && SUCCEEDED(encoder.get()->Commit());
    return encoded && StreamBytes(stream.get(), png);
}
