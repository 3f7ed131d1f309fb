// The outbound links: fixed web addresses handed to the Windows shell.
#pragma once

#include "platform/form.h"

#include <string_view>

extern const char* const shopPageAddress;
extern const char* const contactPageAddress;
extern const char* const forumPageAddress;
extern const char* const updatePageAddress;

void openWebPage(Form& form, std::string_view address);

void openShopPage(Form& form, std::string_view control);
void openContactPage(Form& form, std::string_view control);
void openForumPage(Form& form, std::string_view control);
void openUpdatePage(Form& form, std::string_view control);
