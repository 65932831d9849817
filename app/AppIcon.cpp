#include "app/AppIcon.h"

#include "QuillonIconData.h"

juce::Image AppIcon::create (int size)
{
    juce::Image image (juce::Image::ARGB, size, size, true);

    if (auto drawable = juce::Drawable::createFromImageData (QuillonIconData::quillon_svg,
                                                             (size_t) QuillonIconData::quillon_svgSize))
    {
        juce::Graphics g (image);
        drawable->drawWithin (g, image.getBounds().toFloat(), juce::RectanglePlacement::centred, 1.0f);
    }

    return image;
}
