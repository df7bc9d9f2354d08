// The client identity of the plug-in's version record. The same macros feed
// the identity the client library registers with the host and the Windows
// resource script, so the two can never disagree.
#ifndef VELTRANO_FRAME_IDENTITY_H
#define VELTRANO_FRAME_IDENTITY_H

#define VTR_CLIENT_NAME "Veltrano - Unicode"
#define VTR_CLIENT_TYPE "Standard"
#define VTR_CLIENT_PRODUCTS "Maker MakerSGML"
#define VTR_FILE_DESCRIPTION "Veltrano (Frame 2022 64-bit)"

#define VTR_PRODUCT_NAME "Veltrano"
#define VTR_VERSION_MAJOR 1
#define VTR_VERSION_MINOR 0
#define VTR_VERSION_PATCH 0
#define VTR_VERSION_BUILD 1
#define VTR_VERSION_STRING "1.0.0"
#define VTR_BUILD_STRING "1"

#endif
