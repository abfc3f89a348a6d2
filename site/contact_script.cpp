#include "site/contact_script.h"

#include "core/file_names.h"
#include "core/text.h"

namespace quill::site {
namespace {

// A setting as a single-quoted PHP literal: only '\' and '\'' mean anything there, so no
// setting can become code.
std::string PhpLiteral(std::string_view value) {
  std::string literal = "'";
  for (char c : core::OneLine(value)) {
    if (c == '\\' || c == '\'') literal += '\\';
    literal += c;
  }
  return literal + "'";
}

// The settings, the set-up check and the checks of the posted fields.
std::vector<std::string> ReceivingLines(const core::ProjectSettings& settings) {
  return {
      R"(<?php)",
      "\t$default_destination_email = " + PhpLiteral(settings.Editor) + ";",
      "\t$site_name = " + PhpLiteral(settings.Title) + ";",
      R"(	$default_followup_url = "message.html";)",
      R"(	$default_response = "Thank you for contacting us.<br>We will respond to your email as soon as possible";)",
      R"(function posted_line($name))",
      R"({)",
      R"(	$value = isset($_POST[$name]) ? $_POST[$name] : "";)",
      R"(	return is_string($value) ? preg_replace('/[\r\n]+/', ' ', $value) : "";)",
      R"(})",
      R"(if($_POST))",
      R"({)",
      R"($destination_email = preg_replace('/[\r\n]+/', ' ', $default_destination_email);)",
      "if($destination_email == \"\" || $destination_email == \"" + std::string(kUnsetDestination) +
          "\")",
      R"({)",
      R"(	echo "Script Error:  This form processing script has not yet been correctly set up.<br>Please contact the webmaster.";)",
      R"(	exit;)",
      R"(})",
      R"(if(!preg_match('/^[a-z0-9 _@, \.\-]+$/i', $destination_email)) die("Error. Invalid Destination Email");)",
      R"($subject = posted_line("subject");)",
      R"(if(!preg_match('/^[^\x00-\x1F\x7F]+$/', $subject)) die("Error. Invalid Subject");)",
      R"($arrexclude = array("Submit", "destination_email", "required", "followup_url");)",
      R"($required = posted_line("required");)",
      R"(if($required){)",
      R"(	foreach (explode(" ", $required) as $field))",
      R"(	{)",
      R"(		if($field !== "" && (!isset($_POST[$field]) || !$_POST[$field])))",
      R"(		{)",
      R"(			echo "You must enter a value for: " . htmlspecialchars($field);)",
      R"(			exit;)",
      R"(		})",
      R"(	})",
      R"(})",
  };
}

// The mail made of the posted fields, and where the visitor goes after sending.
std::vector<std::string> SendingLines() {
  return {
      R"($msg = "";)",
      R"(foreach ($_POST as $key => $value) {)",
      R"(	if (in_array((string)$key, $arrexclude, true)) continue;)",
      R"(	$msg .= "\n\n".strtoupper($key).": \n";)",
      R"(	if (is_array($value)) {)",
      R"(		foreach ($value as $item) {)",
      R"(			$msg .= (is_array($item) ? "" : $item)."\n   ";)",
      R"(		})",
      R"(	} else {)",
      R"(		$msg .= $value;)",
      R"(	})",
      R"(})",
      R"($msg = trim($msg);)",
      R"($email = posted_line("email");)",
      R"($headers = filter_var($email, FILTER_VALIDATE_EMAIL) ? "Reply-To: " . $email : "";)",
      R"(if(!mail($destination_email, $subject, "$msg\n", $headers)) die("Error. The message could not be sent.");)",
      R"($followup_url = posted_line("followup_url");)",
      "if($followup_url == \"" + std::string(kUnsetFollowup) + "\")",
      R"(	echo "$default_response";)",
      R"(else)",
      R"({)",
      R"(	if(!preg_match('~^(?!//)[^\s:\x5C\x00-\x1F\x7F]+$~', $followup_url)) $followup_url = $default_followup_url;)",
      R"(	header("Location: " . $followup_url);)",
      R"(})",
      R"(})",
      R"(?>)",
  };
}

}  // namespace

void WriteContactScript(const core::ProjectSettings& settings, SiteOutput& output) {
  // The script runs on every PHP still in service (7.4 and later) and mails only the editor's
  // address: a posted destination is never read, the visitor's address goes into Reply-To
  // alone, header values lose their line breaks, and only an address on the same site is
  // followed after sending.
  std::vector<std::string> lines = ReceivingLines(settings);
  for (std::string& line : SendingLines()) lines.push_back(std::move(line));
  WriteTextFile(output, core::kContactScript, lines);
}

}  // namespace quill::site
