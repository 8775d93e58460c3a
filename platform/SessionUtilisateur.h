#pragma once
// Whether the program runs where no user is: as the SYSTEM account (a Group Policy start-up
// script, Intune, Configuration Manager) or in the services' session 0 (a task run "whether
// the user is logged on or not"). There, nothing may wait for a person and no program may be
// started for one.
namespace norvel {

struct TypeIdentiteSession {
  bool CompteSysteme = false;  // the process's user is LocalSystem
  unsigned long Session = 1;   // the process's Terminal Services session
};

TypeIdentiteSession IdentiteSessionCourante();
// SYSTEM, or session 0.
bool EstSessionSansUtilisateur(const TypeIdentiteSession& AIdentite);
bool SessionSansUtilisateur();

}  // namespace norvel
