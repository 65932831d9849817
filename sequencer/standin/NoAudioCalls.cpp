// Everything the binaries import that is not the sequencer: a machine without sound
// cards. Opens fail with -ENODEV, there is no card and no device hint, and whatever is
// asked of nothing fails, so that JUCE finds no audio device.

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace
{
    // What the alloca macros reserve for the records nobody fills.
    constexpr size_t recordBytes = 64;
}

#define QUILLON_FAILS(result, name, ...) result name (__VA_ARGS__) { return -ENODEV; }
#define QUILLON_IGNORES(name, ...) void name (__VA_ARGS__) {}
#define QUILLON_SIZE(name) size_t name() { return recordBytes; }
#define QUILLON_NO_NAME(name, type) const char* name (const type*) { return ""; }

extern "C"
{

int snd_card_next (int* card)
{
    if (card == nullptr)
        return -EINVAL;

    *card = -1;
    return 0;
}

QUILLON_FAILS (int, snd_card_get_name, int, char**)

int snd_ctl_open (snd_ctl_t** ctl, const char*, int)
{
    if (ctl != nullptr)
        *ctl = nullptr;

    return -ENODEV;
}

QUILLON_FAILS (int, snd_ctl_close, snd_ctl_t*)
QUILLON_FAILS (int, snd_ctl_card_info, snd_ctl_t*, snd_ctl_card_info_t*)
QUILLON_FAILS (int, snd_ctl_pcm_info, snd_ctl_t*, snd_pcm_info_t*)
QUILLON_FAILS (int, snd_ctl_pcm_next_device, snd_ctl_t*, int*)
QUILLON_SIZE (snd_ctl_card_info_sizeof)
QUILLON_NO_NAME (snd_ctl_card_info_get_id, snd_ctl_card_info_t)
QUILLON_NO_NAME (snd_ctl_card_info_get_name, snd_ctl_card_info_t)

int snd_device_name_hint (int, const char*, void*** hints)
{
    if (hints == nullptr)
        return -EINVAL;

    // An empty list: the terminating null alone, released by snd_device_name_free_hint.
    *hints = static_cast<void**> (std::calloc (1, sizeof (void*)));
    return *hints != nullptr ? 0 : -ENOMEM;
}

int snd_device_name_free_hint (void** hints)
{
    std::free (hints);
    return 0;
}

char* snd_device_name_get_hint (const void*, const char*)
{
    return nullptr;
}

int snd_lib_error_set_handler (snd_lib_error_handler_t)     { return 0; }
int snd_config_update_free_global()                         { return 0; }

const char* snd_strerror (int errnum)
{
    return std::strerror (errnum < 0 ? -errnum : errnum);
}

int snd_pcm_open (snd_pcm_t** pcm, const char*, snd_pcm_stream_t, int)
{
    if (pcm != nullptr)
        *pcm = nullptr;

    return -ENODEV;
}

snd_pcm_state_t snd_pcm_state (snd_pcm_t*)     { return SND_PCM_STATE_DISCONNECTED; }

QUILLON_FAILS (int, snd_pcm_close, snd_pcm_t*)
QUILLON_FAILS (int, snd_pcm_drop, snd_pcm_t*)
QUILLON_FAILS (int, snd_pcm_prepare, snd_pcm_t*)
QUILLON_FAILS (int, snd_pcm_reset, snd_pcm_t*)
QUILLON_FAILS (int, snd_pcm_link, snd_pcm_t*, snd_pcm_t*)
QUILLON_FAILS (int, snd_pcm_wait, snd_pcm_t*, int)
QUILLON_FAILS (int, snd_pcm_recover, snd_pcm_t*, int, int)
QUILLON_FAILS (snd_pcm_sframes_t, snd_pcm_avail_update, snd_pcm_t*)
QUILLON_FAILS (snd_pcm_sframes_t, snd_pcm_rewind, snd_pcm_t*, snd_pcm_uframes_t)
QUILLON_FAILS (snd_pcm_sframes_t, snd_pcm_readi, snd_pcm_t*, void*, snd_pcm_uframes_t)
QUILLON_FAILS (snd_pcm_sframes_t, snd_pcm_readn, snd_pcm_t*, void**, snd_pcm_uframes_t)
QUILLON_FAILS (snd_pcm_sframes_t, snd_pcm_writei, snd_pcm_t*, const void*, snd_pcm_uframes_t)
QUILLON_FAILS (snd_pcm_sframes_t, snd_pcm_writen, snd_pcm_t*, void**, snd_pcm_uframes_t)
QUILLON_FAILS (int, snd_pcm_format_set_silence, snd_pcm_format_t, void*, unsigned int)
QUILLON_SIZE (snd_pcm_format_mask_sizeof)

int snd_pcm_format_mask_test (const snd_pcm_format_mask_t*, snd_pcm_format_t)     { return 0; }

QUILLON_SIZE (snd_pcm_info_sizeof)
QUILLON_NO_NAME (snd_pcm_info_get_name, snd_pcm_info_t)
QUILLON_NO_NAME (snd_pcm_info_get_subdevice_name, snd_pcm_info_t)
unsigned int snd_pcm_info_get_subdevices_count (const snd_pcm_info_t*)     { return 0; }
QUILLON_IGNORES (snd_pcm_info_set_device, snd_pcm_info_t*, unsigned int)
QUILLON_IGNORES (snd_pcm_info_set_subdevice, snd_pcm_info_t*, unsigned int)
QUILLON_IGNORES (snd_pcm_info_set_stream, snd_pcm_info_t*, snd_pcm_stream_t)

QUILLON_SIZE (snd_pcm_hw_params_sizeof)
QUILLON_FAILS (int, snd_pcm_hw_params, snd_pcm_t*, snd_pcm_hw_params_t*)
QUILLON_FAILS (int, snd_pcm_hw_params_any, snd_pcm_t*, snd_pcm_hw_params_t*)
QUILLON_FAILS (int, snd_pcm_hw_params_test_rate, snd_pcm_t*, snd_pcm_hw_params_t*, unsigned int, int)
QUILLON_FAILS (int, snd_pcm_hw_params_get_buffer_size, const snd_pcm_hw_params_t*, snd_pcm_uframes_t*)
QUILLON_FAILS (int, snd_pcm_hw_params_get_channels_max, const snd_pcm_hw_params_t*, unsigned int*)
QUILLON_FAILS (int, snd_pcm_hw_params_get_channels_min, const snd_pcm_hw_params_t*, unsigned int*)
QUILLON_IGNORES (snd_pcm_hw_params_get_format_mask, snd_pcm_hw_params_t*, snd_pcm_format_mask_t*)
QUILLON_FAILS (int, snd_pcm_hw_params_get_period_size, const snd_pcm_hw_params_t*, snd_pcm_uframes_t*, int*)
QUILLON_FAILS (int, snd_pcm_hw_params_get_periods, const snd_pcm_hw_params_t*, unsigned int*, int*)
QUILLON_FAILS (int, snd_pcm_hw_params_get_rate_max, const snd_pcm_hw_params_t*, unsigned int*, int*)
QUILLON_FAILS (int, snd_pcm_hw_params_get_rate_min, const snd_pcm_hw_params_t*, unsigned int*, int*)
QUILLON_FAILS (int, snd_pcm_hw_params_set_access, snd_pcm_t*, snd_pcm_hw_params_t*, snd_pcm_access_t)
QUILLON_FAILS (int, snd_pcm_hw_params_set_buffer_size_near, snd_pcm_t*, snd_pcm_hw_params_t*, snd_pcm_uframes_t*)
QUILLON_FAILS (int, snd_pcm_hw_params_set_channels, snd_pcm_t*, snd_pcm_hw_params_t*, unsigned int)
QUILLON_FAILS (int, snd_pcm_hw_params_set_format, snd_pcm_t*, snd_pcm_hw_params_t*, snd_pcm_format_t)
QUILLON_FAILS (int, snd_pcm_hw_params_set_period_size_near, snd_pcm_t*, snd_pcm_hw_params_t*, snd_pcm_uframes_t*, int*)
QUILLON_FAILS (int, snd_pcm_hw_params_set_period_time_near, snd_pcm_t*, snd_pcm_hw_params_t*, unsigned int*, int*)
QUILLON_FAILS (int, snd_pcm_hw_params_set_periods_near, snd_pcm_t*, snd_pcm_hw_params_t*, unsigned int*, int*)
QUILLON_FAILS (int, snd_pcm_hw_params_set_rate_near, snd_pcm_t*, snd_pcm_hw_params_t*, unsigned int*, int*)

QUILLON_SIZE (snd_pcm_sw_params_sizeof)
QUILLON_FAILS (int, snd_pcm_sw_params, snd_pcm_t*, snd_pcm_sw_params_t*)
QUILLON_FAILS (int, snd_pcm_sw_params_current, snd_pcm_t*, snd_pcm_sw_params_t*)
QUILLON_FAILS (int, snd_pcm_sw_params_get_boundary, const snd_pcm_sw_params_t*, snd_pcm_uframes_t*)
QUILLON_FAILS (int, snd_pcm_sw_params_set_silence_size, snd_pcm_t*, snd_pcm_sw_params_t*, snd_pcm_uframes_t)
QUILLON_FAILS (int, snd_pcm_sw_params_set_silence_threshold, snd_pcm_t*, snd_pcm_sw_params_t*, snd_pcm_uframes_t)
QUILLON_FAILS (int, snd_pcm_sw_params_set_start_threshold, snd_pcm_t*, snd_pcm_sw_params_t*, snd_pcm_uframes_t)
QUILLON_FAILS (int, snd_pcm_sw_params_set_stop_threshold, snd_pcm_t*, snd_pcm_sw_params_t*, snd_pcm_uframes_t)

}
