/* SPDX-License-Identifier: Apache-2.0 */
/** @file
 * The library's C interface: for hosts written in C, or in any language that
 * reaches a native library through C (Rust, Go, Swift, C#, Python's ctypes).
 * Valid C99 and C++; nothing of C++ crosses it, and every function catches
 * whatever the library throws (an allocation failure becomes
 * VMC_OUT_OF_MEMORY).
 *
 * @code
 *   vmc_container* c = NULL;
 *   if (vmc_create(&c) != VMC_OK) return 1;
 *   vmc_status s = vmc_decode(c, bytes, length, VMC_COLOR_SPACE_CAMERA_NATIVE);
 *   for (int i = 0; i < vmc_field_count(); ++i) {
 *       const char* text;
 *       if (vmc_field_text(c, i, VMC_TEXT_PEOPLE, &text) == VMC_OK)
 *           printf("%s: %s\n", vmc_field_label(i), text);
 *   }
 *   vmc_destroy(c);
 * @endcode
 *
 * Ownership: the caller frees nothing it did not allocate. Texts about fields
 * (names, labels, units, headings) and status and version texts are static.
 * Texts read from a handle (field texts, time code texts, the result
 * message) belong to the handle: they stay valid until the next call that
 * takes the same handle, or until vmc_destroy.
 *
 * Threads: a handle is used by one thread at a time; different handles may be
 * used at once.
 *
 * Fields are numbered 0 to vmc_field_count() - 1 in container order, the
 * order of the C++ container's members. */
#ifndef VELLMETA_VMC_H
#define VELLMETA_VMC_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
/* The library's own build exports the functions; a host imports them from
 * the DLL, or links the objects directly with VELLMETA_STATIC. */
#  if defined(VELLMETA_BUILDING)
#    define VMC_API __declspec(dllexport)
#  elif defined(VELLMETA_STATIC)
#    define VMC_API
#  else
#    define VMC_API __declspec(dllimport)
#  endif
#else
/** Marks a function that the presentation library exports. */
#  define VMC_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** The size of a version-3 header; vmc_decode reads exactly this many bytes. */
#define VMC_HEADER_SIZE 2480

/** What every function that can fail returns. */
typedef enum vmc_status {
    VMC_OK = 0,                 /**< success */
    VMC_DECODE_FAILURE = 1,     /**< the header reported a failure; vmc_result tells which */
    VMC_NULL_ARGUMENT = 2,      /**< a handle, buffer or output pointer was NULL */
    VMC_SHORT_HEADER = 3,       /**< fewer than VMC_HEADER_SIZE bytes */
    VMC_INDEX_OUT_OF_RANGE = 4, /**< no field has this index */
    VMC_TYPE_MISMATCH = 5,      /**< the field holds another type of value */
    VMC_UNDEFINED = 6,          /**< the header left the field undefined */
    VMC_BUFFER_TOO_SMALL = 7,   /**< the caller's buffer cannot hold the result */
    VMC_OUT_OF_MEMORY = 8,      /**< an allocation failed */
    VMC_INTERNAL_ERROR = 9      /**< anything else the library threw */
} vmc_status;

/** The colour space of the decoded primaries. vmc_decode takes any int; other
 * values give the header failure 100 (unknown colour space). */
typedef enum vmc_color_space {
    VMC_COLOR_SPACE_ACES_AP0 = 0,      /**< fixed ACES AP0 primaries and white point */
    VMC_COLOR_SPACE_CAMERA_NATIVE = 1, /**< the camera's own primaries for the header's white balance and ND state */
    VMC_COLOR_SPACE_WIDE_GAMUT = 2     /**< fixed wide-gamut primaries, D65 white */
} vmc_color_space;

/** The type of a field's value, and the getter that reads it. */
typedef enum vmc_value_type {
    VMC_TYPE_NONE = 0,            /**< no such field */
    VMC_TYPE_UINT32 = 1,          /**< vmc_get_integer */
    VMC_TYPE_INT32 = 2,           /**< vmc_get_integer */
    VMC_TYPE_FLOAT = 3,           /**< vmc_get_float */
    VMC_TYPE_BOOL = 4,            /**< vmc_get_bool */
    VMC_TYPE_VEC2 = 5,            /**< vmc_get_vec2 */
    VMC_TYPE_VEC3 = 6,            /**< vmc_get_vec3 */
    VMC_TYPE_IMAGE_WINDOW = 7,    /**< vmc_get_window */
    VMC_TYPE_CHROMATICITIES = 8,  /**< vmc_get_chromaticities */
    VMC_TYPE_CAMERA_TRIPLE = 9,   /**< vmc_get_camera_triple */
    VMC_TYPE_FRACTION = 10,       /**< vmc_get_fraction */
    VMC_TYPE_TIME_CODE = 11,      /**< vmc_get_time_code, vmc_get_time_code_text */
    VMC_TYPE_TEXT = 12            /**< vmc_get_text */
} vmc_value_type;

/** Whether views show a field by default. */
typedef enum vmc_field_kind {
    VMC_KIND_NONE = 0,  /**< no such field */
    VMC_KIND_SHOWN = 1, /**< a value the header carries */
    VMC_KIND_SPARE = 2, /**< decoding never writes it */
    VMC_KIND_FIXED = 3  /**< decoding only ever stores one fixed value */
} vmc_field_kind;

/** How vmc_field_text writes a value. */
typedef enum vmc_text_style {
    VMC_TEXT_PEOPLE = 0, /**< converted for people, with units ("f/2.8", "1/48 s (0.020833 s)") */
    VMC_TEXT_NUMERIC = 1 /**< the decoded numbers as they are */
} vmc_text_style;

/** Two floats: a CIE xy chromaticity, or a window's corner. */
typedef struct vmc_vec2 {
    /**@{*/
    /** The two components. */
    float x, y;
    /**@}*/
} vmc_vec2;

/** Three floats: an RGB or XYZ triple. */
typedef struct vmc_vec3 {
    /**@{*/
    /** The three components. */
    float x, y, z;
    /**@}*/
} vmc_vec3;

/** An image window: minimum corner, maximum corner. */
typedef struct vmc_window {
    /**@{*/
    /** The corners, both inclusive. */
    vmc_vec2 min, max;
    /**@}*/
} vmc_window;

/** xy of three primaries and a white point. */
typedef struct vmc_chromaticities {
    /**@{*/
    /** xy of each primary and of the white point. */
    vmc_vec2 red, green, blue, white;
    /**@}*/
} vmc_chromaticities;

/** Three header words as floats, and an integer that decoding sets to 0. */
typedef struct vmc_camera_triple {
    /**@{*/
    /** The three words. */
    float a, b, c;
    /**@}*/
    uint32_t extra; /**< 0 after decoding */
} vmc_camera_triple;

/** A fraction. A zero denominator marks a magnitude too large to hold
 * (numerator +1 or -1) or, with a zero numerator, a value that is not a
 * number. */
typedef struct vmc_fraction {
    int32_t numerator;    /**< carries the sign */
    uint32_t denominator; /**< 0 for a magnitude too large, or not a number */
} vmc_fraction;

/** A header time code record: BCD HH:MM:SS:FF in bcdTime, the rate with the
 * drop-frame flag in bit 31 of rateAndDropFrame. */
typedef struct vmc_time_code {
    /**@{*/
    /** The record's four words, as the header holds them. */
    uint32_t bcdTime, word1, rateAndDropFrame, word3;
    /**@}*/
} vmc_time_code;

/** A decoded header and its result. Opaque. */
typedef struct vmc_container vmc_container;

/* ---- the library ---- */

/** The long version text, such as "1.0.0b1 ..."; static. */
VMC_API const char* vmc_version(void);
/** major * 10000 + minor * 100 + patch. */
VMC_API int vmc_version_number(void);
/** An English sentence for a vmc_status ("the field is undefined"); static,
 * and "unknown status" for other values. */
VMC_API const char* vmc_status_text(int status);

/* ---- handles and decoding ---- */

/** Makes an empty container: every field undefined. `*out` is NULL on failure. */
VMC_API vmc_status vmc_create(vmc_container** out);
/** Releases a container and every text it handed out; NULL is allowed. */
VMC_API void vmc_destroy(vmc_container* container);

/** Decodes the first VMC_HEADER_SIZE bytes of `bytes` into the container,
 * replacing all it held (fields the header leaves undefined are undefined
 * afterwards). VMC_OK when the header decoded without a failure,
 * VMC_DECODE_FAILURE when it reported one (the fields decoded before a stop
 * are kept); VMC_NULL_ARGUMENT or VMC_SHORT_HEADER leave the container as it
 * was. */
VMC_API vmc_status vmc_decode(vmc_container* container, const void* bytes, size_t length, int color_space);

/** The result of the last decode: whether it reported a failure, the failure
 * code (0 with is_error set means decoding finished but the header held an
 * unknown flip/flop, master/slave or channel setup value) and its English
 * message ("" for none; owned by the handle). Any output may be NULL. Before
 * the first decode: no failure, code 0, "". */
VMC_API vmc_status vmc_result(const vmc_container* container, int* is_error, uint32_t* code,
                              const char** message);

/* ---- fields: descriptions (no handle needed) ---- */

/** The number of fields. */
VMC_API int vmc_field_count(void);
/** The field called `name` (a C++ container member name such as
 * "lensFocalLength"), or -1. */
VMC_API int vmc_field_index(const char* name);
/** The field at `position` in the order people read them (by heading, then
 * by place under it), or -1 when position is out of range. */
VMC_API int vmc_presentation_order(int position);
/**@{*/
/** Static texts, or NULL when index is out of range: the member name, the
 * label for people ("Focal length"), the unit of the decoded number ("mm";
 * "" where none), and the heading it is shown under ("Lens and location"). */
VMC_API const char* vmc_field_name(int index);
VMC_API const char* vmc_field_label(int index);
VMC_API const char* vmc_field_unit(int index);
VMC_API const char* vmc_field_heading(int index);
/**@}*/
/**@{*/
/** The type of the field's value and its kind; VMC_TYPE_NONE /
 * VMC_KIND_NONE when index is out of range. */
VMC_API vmc_value_type vmc_field_type(int index);
VMC_API vmc_field_kind vmc_field_kind_of(int index);
/**@}*/

/* ---- fields: values ---- */

/** Sets `*defined` to 1 when the header supplied the field, else to 0. */
VMC_API vmc_status vmc_field_defined(const vmc_container* container, int index, int* defined);

/** Sets `*listed` to 1 when the people's view lists the field: it is defined
 * and its value is not already part of another field's line (the tint,
 * within the white balance), else to 0. */
VMC_API vmc_status vmc_field_listed(const vmc_container* container, int index, int* listed);

/** Sets `*set` to 1 when the field is defined and the camera wrote its value,
 * else to 0: 0 for what decoding makes of an all-ones header word that it
 * stores without testing for it (a focal length of 4294967.5 mm), which the
 * people's text reads as "not set by the camera" while the getters return it
 * as decoded. */
VMC_API vmc_status vmc_field_set_by_camera(const vmc_container* container, int index, int* set);

/**@{*/
/** The typed getters. Each returns VMC_NULL_ARGUMENT, VMC_INDEX_OUT_OF_RANGE,
 * VMC_TYPE_MISMATCH (the field's vmc_field_type names the right getter) or
 * VMC_UNDEFINED without touching `*out`, else VMC_OK. */
VMC_API vmc_status vmc_get_integer(const vmc_container* container, int index, int64_t* out);
VMC_API vmc_status vmc_get_float(const vmc_container* container, int index, float* out);
VMC_API vmc_status vmc_get_bool(const vmc_container* container, int index, int* out);
VMC_API vmc_status vmc_get_vec2(const vmc_container* container, int index, vmc_vec2* out);
VMC_API vmc_status vmc_get_vec3(const vmc_container* container, int index, vmc_vec3* out);
VMC_API vmc_status vmc_get_window(const vmc_container* container, int index, vmc_window* out);
VMC_API vmc_status vmc_get_chromaticities(const vmc_container* container, int index, vmc_chromaticities* out);
VMC_API vmc_status vmc_get_camera_triple(const vmc_container* container, int index, vmc_camera_triple* out);
VMC_API vmc_status vmc_get_fraction(const vmc_container* container, int index, vmc_fraction* out);
VMC_API vmc_status vmc_get_time_code(const vmc_container* container, int index, vmc_time_code* out);
/**@}*/
/** The time code as "HH:MM:SS:FF" (';' before the frames for drop frame);
 * owned by the handle. */
VMC_API vmc_status vmc_get_time_code_text(const vmc_container* container, int index, const char** out);
/** A text field's bytes as the header held them (NUL-terminated, not always
 * UTF-8); owned by the handle. */
VMC_API vmc_status vmc_get_text(const vmc_container* container, int index, const char** out);

/** Any field's value as one line of UTF-8 text, in a vmc_text_style (any
 * value but VMC_TEXT_NUMERIC is for people), as the command-line tool writes
 * it; owned by the handle. */
VMC_API vmc_status vmc_field_text(const vmc_container* container, int index, int style, const char** out);

/** The container's fields as one JSON object, keyed by member name in
 * container order, with typed values (the "fields" object of the
 * command-line tool's `--json`): the defined fields, or with `all` non-zero
 * every field (null where undefined). `*needed` (when not NULL) receives the
 * size with the terminating NUL. Pass buffer NULL and capacity 0 to ask for
 * the size alone (VMC_OK); a smaller capacity gives VMC_BUFFER_TOO_SMALL and
 * an empty text in the buffer. */
VMC_API vmc_status vmc_container_json(const vmc_container* container, int all, char* buffer, size_t capacity,
                                      size_t* needed);

#ifdef __cplusplus
}
#endif

#endif
