#include "users/user_profile.h"

void ClearUser(TUserProfile& user) { user = TUserProfile{}; }
