#ifndef KOVVERSION_H
#define KOVVERSION_H

// The application's version text; it names crash dumps and shows in About.
#define KOV_APP_VERSION "V1.8.0"

#endif // KOVVERSION_H
