<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en_US">
<context>
    <name>Orvella</name>
    <message numerus="yes">
        <source> %i more events ...</source>
        <translation>
            <numerusform> %n autre ...</numerusform>
            <numerusform> %n autres ...</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 events cannot be read:</source>
        <translation>%1 événements illisibles :</translation>
    </message>
    <message>
        <source>%@ after</source>
        <translation>%@ après</translation>
    </message>
    <message>
        <source>%@ and %@</source>
        <translation>%@ et %@</translation>
    </message>
    <message>
        <source>%@ before</source>
        <translation>%@ avant</translation>
    </message>
    <message>
        <source>%@ days</source>
        <translation>%@ jours</translation>
    </message>
    <message>
        <source>%@ hours</source>
        <translation>%@ heures</translation>
    </message>
    <message>
        <source>%@ minutes</source>
        <translation>%@ minutes</translation>
    </message>
    <message>
        <source>%@ times</source>
        <translation>%@ fois</translation>
    </message>
    <message>
        <source>%@.</source>
        <translation>%@e</translation>
    </message>
    <message>
        <source>1 day</source>
        <translation>1 jour</translation>
    </message>
    <message>
        <source>1 day before</source>
        <translation>1 jour avant</translation>
    </message>
    <message>
        <source>1 event cannot be read:</source>
        <translation>1 événement illisible :</translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation>1 heure</translation>
    </message>
    <message>
        <source>1 hour before</source>
        <translation>1 heure avant</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>15 minutes before</source>
        <translation>15 minutes avant</translation>
    </message>
    <message>
        <source>2 days before</source>
        <translation>2 jours avant</translation>
    </message>
    <message>
        <source>2 hours before</source>
        <translation>2 heures avant</translation>
    </message>
    <message>
        <source>30 minutes before</source>
        <translation>30 minutes avant</translation>
    </message>
    <message>
        <source>5 minutes before</source>
        <translation>5 minutes avant</translation>
    </message>
    <message>
        <source>Add Calendar</source>
        <translation>Nouveau calendrier</translation>
    </message>
    <message>
        <source>Add Calendar...</source>
        <translation>Ajouter un calendrier...</translation>
    </message>
    <message>
        <source>Add Event</source>
        <translation>Nouvel événement</translation>
    </message>
    <message>
        <source>Add Event</source>
        <comment>Button</comment>
        <translation>Ajouter un événement</translation>
    </message>
    <message>
        <source>After %@ times</source>
        <translation>Après %@ fois</translation>
    </message>
    <message>
        <source>after 1 hour</source>
        <translation>après 1 heure</translation>
    </message>
    <message>
        <source>after 1 minute</source>
        <translation>après 1 minute</translation>
    </message>
    <message>
        <source>After 1 time</source>
        <translation>Après une fois</translation>
    </message>
    <message>
        <source>after 15 minutes</source>
        <translation>après 15 minutes</translation>
    </message>
    <message>
        <source>after 15 seconds</source>
        <translation>après 15 secondes</translation>
    </message>
    <message>
        <source>after 2 hours</source>
        <translation>après 2 heures</translation>
    </message>
    <message>
        <source>after 30 minutes</source>
        <translation>après 30 minutes</translation>
    </message>
    <message>
        <source>after 5 minutes</source>
        <translation>après 5 minutes</translation>
    </message>
    <message>
        <source>Alert</source>
        <translation>Alerte</translation>
    </message>
    <message>
        <source>All-day</source>
        <translation>Jour entier</translation>
    </message>
    <message>
        <source>all-day</source>
        <translation>toute la journée</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>et %1 de plus</translation>
    </message>
    <message>
        <source>April</source>
        <translation>avril</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this calendar? All events associated with the calendar will also be deleted.</source>
        <translation>Voulez-vous vraiment supprimer ce calendrier ? Tous ses événements seront également supprimés.</translation>
    </message>
    <message>
        <source>At time of event</source>
        <translation>À l'heure de l'événement</translation>
    </message>
    <message>
        <source>August</source>
        <translation>août</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Back to Current Week</source>
        <translation>Retour à la semaine actuelle</translation>
    </message>
    <message>
        <source>Birthdays</source>
        <translation>Anniversaires</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Bleu</translation>
    </message>
    <message>
        <source>Brown</source>
        <translation>Marron</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation>Calendrier</translation>
    </message>
    <message>
        <source>Calendar is hidden</source>
        <translation>Calendrier masqué</translation>
    </message>
    <message>
        <source>Calendar Name</source>
        <translation>Nom du calendrier</translation>
    </message>
    <message>
        <source>Calendars</source>
        <translation>Calendriers</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Cannot Import</source>
        <translation>Importation impossible</translation>
    </message>
    <message>
        <source>Cannot Open File</source>
        <translation>Impossible d'ouvrir le fichier</translation>
    </message>
    <message>
        <source>Cannot open the calendar</source>
        <translation>Impossible d'ouvrir le calendrier</translation>
    </message>
    <message>
        <source>Cannot Save Event</source>
        <translation>Enregistrement impossible</translation>
    </message>
    <message>
        <source>Choose a color</source>
        <translation>Choisir une couleur</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Copy</source>
        <comment>menu</comment>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personnalisé</translation>
    </message>
    <message>
        <source>Custom Color</source>
        <translation>Autre couleur</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>December</source>
        <translation>décembre</translation>
    </message>
    <message>
        <source>Default 2nd Alert</source>
        <translation>Alerte 2 par défaut</translation>
    </message>
    <message>
        <source>Default Alert</source>
        <translation>Alerte par défaut</translation>
    </message>
    <message>
        <source>Default Calendar</source>
        <translation>Calendrier par défaut</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>menu</comment>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Delete all future events</source>
        <translation>Supprimer les suivants</translation>
    </message>
    <message>
        <source>Delete Calendar</source>
        <translation>Supprimer le calendrier</translation>
    </message>
    <message>
        <source>Delete Calendar</source>
        <comment>actionSheet</comment>
        <translation>Supprimer le calendrier</translation>
    </message>
    <message>
        <source>Delete Event</source>
        <translation>Supprimer l'événement</translation>
    </message>
    <message>
        <source>Delete this event only</source>
        <translation>Supprimer celui-ci</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Edit Calendar</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Edit Calendars</source>
        <translation>Modifier les calendriers</translation>
    </message>
    <message>
        <source>Edit Event</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Emergency Call</source>
        <translation>Appel d'urgence</translation>
    </message>
    <message>
        <source>End Repeat</source>
        <translation>Fin de répétition</translation>
    </message>
    <message>
        <source>Ends</source>
        <translation>Fin</translation>
    </message>
    <message>
        <source>Enter the end of the repetition as %@, or leave it empty.</source>
        <translation>Saisissez la fin de la répétition sous la forme %@, ou laissez le champ vide.</translation>
    </message>
    <message>
        <source>Event Details</source>
        <translation>Détails</translation>
    </message>
    <message>
        <source>Events shown:
Longer than 1 day
(for example holidays).</source>
        <translation>Événements affichés :
plus longs qu’un jour
(par exemple les vacances).</translation>
    </message>
    <message>
        <source>Every %@ days</source>
        <translation>Tous les %@ jours</translation>
    </message>
    <message>
        <source>Every %@ hours</source>
        <translation>Toutes les %@ heures</translation>
    </message>
    <message>
        <source>Every %@ minutes</source>
        <translation>Toutes les %@ minutes</translation>
    </message>
    <message>
        <source>Every %@ months</source>
        <translation>Tous les %@ mois</translation>
    </message>
    <message>
        <source>Every %@ seconds</source>
        <translation>Toutes les %@ secondes</translation>
    </message>
    <message>
        <source>Every %@ weeks</source>
        <translation>Toutes les %@ semaines</translation>
    </message>
    <message>
        <source>Every %@ years</source>
        <translation>Tous les %@ ans</translation>
    </message>
    <message>
        <source>Every 2 Weeks</source>
        <translation>Toutes les 2 semaines</translation>
    </message>
    <message>
        <source>Every Day</source>
        <translation>Tous les jours</translation>
    </message>
    <message>
        <source>Every day</source>
        <translation>Tous les jours</translation>
    </message>
    <message>
        <source>Every hour</source>
        <translation>Toutes les heures</translation>
    </message>
    <message>
        <source>Every minute</source>
        <translation>Toutes les minutes</translation>
    </message>
    <message>
        <source>Every Month</source>
        <translation>Tous les mois</translation>
    </message>
    <message>
        <source>Every month</source>
        <translation>Tous les mois</translation>
    </message>
    <message>
        <source>Every second</source>
        <translation>Toutes les secondes</translation>
    </message>
    <message>
        <source>Every Week</source>
        <translation>Toutes les semaines</translation>
    </message>
    <message>
        <source>Every week</source>
        <translation>Toutes les semaines</translation>
    </message>
    <message>
        <source>Every Year</source>
        <translation>Tous les ans</translation>
    </message>
    <message>
        <source>Every year</source>
        <translation>Tous les ans</translation>
    </message>
    <message>
        <source>February</source>
        <translation>février</translation>
    </message>
    <message>
        <source>fifth</source>
        <translation>cinquième</translation>
    </message>
    <message>
        <source>first</source>
        <translation>premier</translation>
    </message>
    <message>
        <source>fourth</source>
        <translation>quatrième</translation>
    </message>
    <message>
        <source>Friday</source>
        <translation>vendredi</translation>
    </message>
    <message>
        <source>Friday and Saturday</source>
        <translation>Vendredi et samedi</translation>
    </message>
    <message>
        <source>from %@</source>
        <translation>du %@</translation>
    </message>
    <message>
        <source>from %@ to %@</source>
        <translation>de %@ à %@</translation>
    </message>
    <message>
        <source>Gardening</source>
        <translation>Jardinage</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Aller</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Astuce</translation>
    </message>
    <message>
        <source>Hints Enabled</source>
        <translation>Afficher les astuces</translation>
    </message>
    <message>
        <source>If you enjoy using %@, would you mind taking a moment to rate it? It won't take more than a minute. Thanks for your support!</source>
        <translation>Vous aimez %@ ? Prenez un instant pour le noter. Cela ne prend pas plus d'une minute. Merci de votre soutien !</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importer</translation>
    </message>
    <message>
        <source>in %@</source>
        <translation>en %@</translation>
    </message>
    <message>
        <source>in the %@ calendar</source>
        <translation>dans le calendrier %@</translation>
    </message>
    <message>
        <source>International (ISO-8601)</source>
        <translation>Internationale (ISO 8601)</translation>
    </message>
    <message>
        <source>January</source>
        <translation>janvier</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Rejoindre</translation>
    </message>
    <message>
        <source>July</source>
        <translation>juillet</translation>
    </message>
    <message>
        <source>Jump to Week</source>
        <translation>Aller à la semaine</translation>
    </message>
    <message>
        <source>June</source>
        <translation>juin</translation>
    </message>
    <message>
        <source>last</source>
        <translation>dernier</translation>
    </message>
    <message>
        <source>leap month %@</source>
        <translation>mois intercalaire %@</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Lieu</translation>
    </message>
    <message>
        <source>Making it default will make it visible. Continue?</source>
        <translation>Par défaut, il sera de nouveau affiché. Continuer ?</translation>
    </message>
    <message>
        <source>March</source>
        <translation>mars</translation>
    </message>
    <message>
        <source>May</source>
        <translation>mai</translation>
    </message>
    <message>
        <source>Monday</source>
        <translation>lundi</translation>
    </message>
    <message>
        <source>month %@</source>
        <translation>mois %@</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Plus</translation>
    </message>
    <message>
        <source>Move</source>
        <comment>menu</comment>
        <translation>Déplacer</translation>
    </message>
    <message>
        <source>Move all future events</source>
        <translation>Déplacer les suivants</translation>
    </message>
    <message>
        <source>Move this event only</source>
        <translation>Déplacer celui-ci</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Jamais</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>New Event</source>
        <translation>Nouvel événement</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
    <message>
        <source>No calendar takes events</source>
        <translation>Aucun calendrier n'accepte d'événements</translation>
    </message>
    <message>
        <source>No events to import</source>
        <translation>Aucun événement à importer</translation>
    </message>
    <message>
        <source>No more results</source>
        <translation>Aucun autre résultat</translation>
    </message>
    <message>
        <source>No results</source>
        <translation>Aucun résultat</translation>
    </message>
    <message>
        <source>No, Thanks</source>
        <translation>Non merci</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>November</source>
        <translation>novembre</translation>
    </message>
    <message>
        <source>October</source>
        <translation>octobre</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>on %@</source>
        <translation>le %@</translation>
    </message>
    <message>
        <source>On date of event</source>
        <translation>Le jour de l'événement</translation>
    </message>
    <message>
        <source>On each reopen</source>
        <translation>À chaque ouverture</translation>
    </message>
    <message>
        <source>On My iPhone</source>
        <translation>Sur cet ordinateur</translation>
    </message>
    <message>
        <source>on the %@ of %@</source>
        <translation>le %@ parmi %@</translation>
    </message>
    <message>
        <source>once</source>
        <translation>une fois</translation>
    </message>
    <message>
        <source>or</source>
        <translation>ou</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Autres</translation>
    </message>
    <message>
        <source>Photo Course</source>
        <translation>Cours photo</translation>
    </message>
    <message>
        <source>Pick a Week</source>
        <translation>Choisir une semaine</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Violet</translation>
    </message>
    <message>
        <source>Rate %@</source>
        <translation>Noter %@</translation>
    </message>
    <message>
        <source>rateTitle</source>
        <translation>Noter %@</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rouge</translation>
    </message>
    <message>
        <source>Remind me later</source>
        <translation>Me le rappeler plus tard</translation>
    </message>
    <message>
        <source>Repeat</source>
        <translation>Répéter</translation>
    </message>
    <message>
        <source>return</source>
        <translation>retour</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Itinéraire</translation>
    </message>
    <message>
        <source>Saturday</source>
        <translation>samedi</translation>
    </message>
    <message>
        <source>Saturday and Sunday</source>
        <translation>Samedi et dimanche</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Save for future events</source>
        <translation>Enregistrer les suivants</translation>
    </message>
    <message>
        <source>Save for this event</source>
        <translation>Enregistrer celui-ci</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Search</source>
        <comment>keyboard</comment>
        <translation>Chercher</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Recherche en cours</translation>
    </message>
    <message>
        <source>second</source>
        <translation>deuxième</translation>
    </message>
    <message>
        <source>Second Alert</source>
        <translation>Deuxième alerte</translation>
    </message>
    <message>
        <source>second to last</source>
        <translation>avant-dernier</translation>
    </message>
    <message>
        <source>Select a new date for the event</source>
        <translation>Choisissez la nouvelle date</translation>
    </message>
    <message>
        <source>Select date to copy the event to</source>
        <translation>Choisissez la date de la copie</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Envoyer</translation>
    </message>
    <message>
        <source>September</source>
        <translation>septembre</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Réglages</translation>
    </message>
    <message>
        <source>space</source>
        <translation>espace</translation>
    </message>
    <message>
        <source>Start &amp; End</source>
        <translation>Début et fin</translation>
    </message>
    <message>
        <source>Starts</source>
        <translation>Début</translation>
    </message>
    <message>
        <source>Subscribed Calendars</source>
        <translation>Calendriers abonnés</translation>
    </message>
    <message>
        <source>Sunday</source>
        <translation>dimanche</translation>
    </message>
    <message>
        <source>Tap and hold on an event to quickly move it to another day.</source>
        <translation>Maintenez un événement pour le déplacer rapidement vers un autre jour.</translation>
    </message>
    <message>
        <source>Tap on the week/year button at the top to directly jump to the desired week.</source>
        <translation>Touchez le bouton semaine/année en haut pour aller directement à la semaine voulue.</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>the %@ %@</source>
        <translation>%@ %@</translation>
    </message>
    <message>
        <source>the %@ day</source>
        <translation>%@ jour</translation>
    </message>
    <message>
        <source>the %@.</source>
        <translation>%@</translation>
    </message>
    <message>
        <source>The [More] button opens the full event editor. Use it to set additional options for the event, such as its address and notes.</source>
        <translation>Le bouton [Plus] ouvre l'éditeur complet. Il permet de régler d'autres options de l'événement, comme l'adresse et les notes.</translation>
    </message>
    <message>
        <source>The event cannot end before it starts.</source>
        <translation>L'événement ne peut pas finir avant de commencer.</translation>
    </message>
    <message>
        <source>The repetition cannot end before the event starts.</source>
        <translation>La répétition ne peut pas finir avant le début de l'événement.</translation>
    </message>
    <message>
        <source>third</source>
        <translation>troisième</translation>
    </message>
    <message>
        <source>This feature is only available for iOS 5.0 and above. Update your iPhone to the latest version of iOS via Settings &gt; General &gt; Software Update.</source>
        <translation>Cette fonction n'est disponible qu'à partir d'iOS 5.0. Mettez à jour votre iPhone vers la dernière version d'iOS dans Réglages &gt; Général &gt; Mise à jour logicielle.</translation>
    </message>
    <message>
        <source>This is a repeating event.</source>
        <comment>Delete</comment>
        <translation>Cet événement se répète.</translation>
    </message>
    <message>
        <source>This is a repeating event.</source>
        <comment>Move</comment>
        <translation>Cet événement se répète.</translation>
    </message>
    <message>
        <source>This is a repeating event.</source>
        <comment>Save</comment>
        <translation>Cet événement se répète.</translation>
    </message>
    <message>
        <source>Thursday</source>
        <translation>jeudi</translation>
    </message>
    <message>
        <source>Thursday and Friday</source>
        <translation>Jeudi et vendredi</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Heure</translation>
    </message>
    <message>
        <source>Time Zone</source>
        <translation>Fuseau horaire</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <source>to %@</source>
        <translation>au %@</translation>
    </message>
    <message>
        <source>To create additional events for the same day, tap on the day header.</source>
        <translation>Pour ajouter d'autres événements le même jour, touchez l'en-tête du jour.</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Aujourd'hui</translation>
    </message>
    <message>
        <source>Tuesday</source>
        <translation>mardi</translation>
    </message>
    <message>
        <source>until %@</source>
        <translation>jusqu'au %@</translation>
    </message>
    <message>
        <source>Untitled Calendar</source>
        <translation>Calendrier sans titre</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>USA</source>
        <translation>États-Unis</translation>
    </message>
    <message>
        <source>Wednesday</source>
        <translation>mercredi</translation>
    </message>
    <message>
        <source>Week %@</source>
        <translation>Semaine %@</translation>
    </message>
    <message>
        <source>Week Numbering Method</source>
        <translation>Numérotation des semaines</translation>
    </message>
    <message>
        <source>Weekend on</source>
        <translation>Week-end</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Jaune</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>You can also swipe up to activate search.</source>
        <translation>Vous pouvez aussi balayer vers le haut pour lancer la recherche.</translation>
    </message>
    <message>
        <source>You can also tap on any empty space to add an event.</source>
        <translation>Vous pouvez aussi toucher un espace vide pour ajouter un événement.</translation>
    </message>
    <message>
        <source>You can also tap on the week/year button at the top to jump to the desired week.</source>
        <translation>Vous pouvez aussi toucher le bouton semaine/année en haut pour aller à la semaine voulue.</translation>
    </message>
    <message>
        <source>You can use a pinch gesture (zoom with two fingers) on a day to list all events.</source>
        <translation>Écartez deux doigts sur un jour (geste de zoom) pour lister tous ses événements.</translation>
    </message>
    <message>
        <source>You cannot hide the default calendar (see settings).</source>
        <translation>Le calendrier par défaut ne peut pas être masqué (voir Réglages).</translation>
    </message>
    <message>
        <source>Left, Right</source>
        <comment>Keys</comment>
        <translation>Gauche, Droite</translation>
    </message>
    <message>
        <source>Page Up, Page Down</source>
        <comment>Keys</comment>
        <translation>Page préc., Page suiv.</translation>
    </message>
    <message>
        <source>Wheel, touchpad</source>
        <comment>Keys</comment>
        <translation>Molette, pavé tactile</translation>
    </message>
    <message>
        <source>Home, T</source>
        <comment>Keys</comment>
        <translation>Début, T</translation>
    </message>
    <message>
        <source>N</source>
        <comment>Keys</comment>
        <translation>N</translation>
    </message>
    <message>
        <source>Alt + arrows</source>
        <comment>Keys</comment>
        <translation>Alt + flèches</translation>
    </message>
    <message>
        <source>Return, Space</source>
        <comment>Keys</comment>
        <translation>Entrée, Espace</translation>
    </message>
    <message>
        <source>Delete</source>
        <comment>Keys</comment>
        <translation>Suppr</translation>
    </message>
    <message>
        <source>Ctrl + Z</source>
        <comment>Keys</comment>
        <translation>Ctrl + Z</translation>
    </message>
    <message>
        <source>Ctrl + F</source>
        <comment>Keys</comment>
        <translation>Ctrl + F</translation>
    </message>
    <message>
        <source>Tab, Shift + Tab</source>
        <comment>Keys</comment>
        <translation>Tab, Maj + Tab</translation>
    </message>
    <message>
        <source>Escape</source>
        <comment>Keys</comment>
        <translation>Échap</translation>
    </message>
    <message>
        <source>Ctrl + Left, Ctrl + Right</source>
        <comment>Keys</comment>
        <translation>Ctrl + Gauche, Ctrl + Droite</translation>
    </message>
    <message>
        <source>Ctrl + wheel</source>
        <comment>Keys</comment>
        <translation>Ctrl + molette</translation>
    </message>
    <message>
        <source>Ctrl + Q, Ctrl + W</source>
        <comment>Keys</comment>
        <translation>Ctrl + Q, Ctrl + W</translation>
    </message>
    <message>
        <source>Previous or next week</source>
        <translation>Semaine précédente ou suivante</translation>
    </message>
    <message>
        <source>Scroll the weeks</source>
        <translation>Faire défiler les semaines</translation>
    </message>
    <message>
        <source>Back to the current week</source>
        <translation>Retour à la semaine en cours</translation>
    </message>
    <message>
        <source>New event on the selected day or today</source>
        <translation>Nouvel événement le jour choisi ou aujourd’hui</translation>
    </message>
    <message>
        <source>Select an event or a day</source>
        <translation>Choisir un événement ou un jour</translation>
    </message>
    <message>
        <source>Open the selected event</source>
        <translation>Ouvrir l’événement choisi</translation>
    </message>
    <message>
        <source>Delete the selected event</source>
        <translation>Supprimer l’événement choisi</translation>
    </message>
    <message>
        <source>Undo the last deletion, copy or move</source>
        <translation>Annuler la dernière suppression, copie ou déplacement</translation>
    </message>
    <message>
        <source>Next or previous field</source>
        <translation>Champ suivant ou précédent</translation>
    </message>
    <message>
        <source>Cancel or close what is on top</source>
        <translation>Annuler ou fermer ce qui est au premier plan</translation>
    </message>
    <message>
        <source>Turn the screen (three weeks in landscape)</source>
        <translation>Tourner l’écran (trois semaines en paysage)</translation>
    </message>
    <message>
        <source>Zoom in or out (a pinch)</source>
        <translation>Agrandir ou réduire (pincement)</translation>
    </message>
    <message>
        <source>Close the window</source>
        <translation>Fermer la fenêtre</translation>
    </message>
    <message>
        <source>All day</source>
        <translation>Toute la journée</translation>
    </message>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>Raccourcis clavier</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Ouvrir</translation>
    </message>
    <message>
        <source>Reminders When Closed</source>
        <translation>Rappels, fenêtre fermée</translation>
    </message>
    <message>
        <source>Snooze</source>
        <translation>Rappeler plus tard</translation>
    </message>
    <message numerus="yes">
        <source>%n missed reminders</source>
        <translation>
            <numerusform>%n rappel manqué</numerusform>
            <numerusform>%n rappels manqués</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n events</source>
        <translation>
            <numerusform>%n événement</numerusform>
            <numerusform>%n événements</numerusform>
        </translation>
    </message>
    <message>
        <source>no events</source>
        <translation>aucun événement</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Comptes</translation>
    </message>
    <message>
        <source>Syncing…</source>
        <translation>Synchronisation…</translation>
    </message>
    <message>
        <source>Last synced %1</source>
        <translation>Dernière synchronisation : %1</translation>
    </message>
    <message>
        <source>Never synced</source>
        <translation>Jamais synchronisé</translation>
    </message>
    <message>
        <source>Changed Elsewhere</source>
        <translation>Modifié ailleurs</translation>
    </message>
    <message>
        <source>Discard Mine</source>
        <translation>Abandonner</translation>
    </message>
    <message>
        <source>Save Mine</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>This event was changed by a sync or another program while you were editing it. Save your version over that change?</source>
        <translation>Cet événement a été modifié par une synchronisation ou un autre programme pendant que vous le modifiiez. Enregistrer votre version à la place de cette modification ?</translation>
    </message>
    <message>
        <source>Remove Account</source>
        <translation>Supprimer le compte</translation>
    </message>
    <message>
        <source>Remove “%1”? Its calendars and events are removed from this computer; the server keeps them.</source>
        <translation>Supprimer « %1 » ? Ses calendriers et événements sont supprimés de cet ordinateur ; le serveur les garde.</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Cannot Remove Account</source>
        <translation>Impossible de supprimer le compte</translation>
    </message>
    <message>
        <source>Sync Now</source>
        <translation>Synchroniser maintenant</translation>
    </message>
    <message>
        <source>Add Account</source>
        <translation>Ajouter un compte</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Serveur</translation>
    </message>
    <message>
        <source>User Name</source>
        <translation>Nom d’utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Account Name</source>
        <translation>Nom du compte</translation>
    </message>
    <message>
        <source>Required</source>
        <translation>Obligatoire</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>Facultatif</translation>
    </message>
    <message>
        <source>Confirm the server's certificate</source>
        <translation>Confirmer le certificat du serveur</translation>
    </message>
    <message>
        <source>SHA-256 fingerprint:</source>
        <translation>Empreinte SHA-256 :</translation>
    </message>
    <message>
        <source>Trust</source>
        <translation>Faire confiance</translation>
    </message>
    <message>
        <source>Password for “%1”</source>
        <translation>Mot de passe de « %1 »</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Synchroniser</translation>
    </message>
    <message>
        <source>Changed on both sides</source>
        <translation>Modifié des deux côtés</translation>
    </message>
    <message numerus="yes">
        <source>%n events were changed both here and on the server of “%2”. Both versions are kept: this computer's has “ (changed on this computer)” in its title.</source>
        <translation>
            <numerusform>%n événement a été modifié ici et sur le serveur de « %2 ». Les deux versions sont gardées : celle de cet ordinateur a « (changed on this computer) » dans son titre.</numerusform>
            <numerusform>%n événements ont été modifiés ici et sur le serveur de « %2 ». Les deux versions sont gardées : celle de cet ordinateur a « (changed on this computer) » dans son titre.</numerusform>
        </translation>
    </message>
    <message>
        <source>No keyring took the password of %1: it is asked again at the next start</source>
        <translation>Aucun trousseau n'a gardé le mot de passe de %1 : il sera redemandé au prochain démarrage</translation>
    </message>
    <message>
        <source>The account is no longer there.</source>
        <translation>Le compte n'existe plus.</translation>
    </message>
    <message>
        <source>The password of this account is not known.</source>
        <translation>Le mot de passe de ce compte n'est pas connu.</translation>
    </message>
    <message>
        <source>The sync of %1 stopped: %2</source>
        <translation>La synchronisation de %1 s'est arrêtée : %2</translation>
    </message>
    <message>
        <source>Left on the server of %1: %2</source>
        <translation>Laissé sur le serveur de %1 : %2</translation>
    </message>
    <message>
        <source>The server refused the user name or password for %1</source>
        <translation>Le serveur a refusé le nom d'utilisateur ou le mot de passe pour %1</translation>
    </message>
    <message>
        <source>%1 does not allow this account to %2</source>
        <translation>%1 ne permet pas à ce compte de %2</translation>
    </message>
    <message>
        <source>%1 does not exist on the server</source>
        <translation>%1 n'existe pas sur le serveur</translation>
    </message>
    <message>
        <source>%1 was changed on the server since it was last read, so it was not possible to %2</source>
        <translation>%1 a été modifié sur le serveur depuis sa dernière lecture ; il n'a donc pas été possible de %2</translation>
    </message>
    <message>
        <source>%1 answered with status %2 when asked to %3</source>
        <translation>%1 a répondu avec le statut %2 à la demande de %3</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it does not answer WebDAV requests</source>
        <translation>%1 n'est pas un serveur CalDAV : il ne répond pas aux requêtes WebDAV</translation>
    </message>
    <message>
        <source>read its properties</source>
        <translation>lire ses propriétés</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it names no calendars for the user, nor does %2</source>
        <translation>%1 n'est pas un serveur CalDAV : il ne donne aucun calendrier pour l'utilisateur, pas plus que %2</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: %2</source>
        <translation>%1 n'est pas un serveur CalDAV : %2</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it names no principal for the user</source>
        <translation>%1 n'est pas un serveur CalDAV : il ne donne aucun principal pour l'utilisateur</translation>
    </message>
    <message>
        <source>%1 is not a CalDAV server: it names no calendar home for the user</source>
        <translation>%1 n'est pas un serveur CalDAV : il ne donne aucun dossier de calendriers pour l'utilisateur</translation>
    </message>
    <message>
        <source>%1 is not a calendar</source>
        <translation>%1 n'est pas un calendrier</translation>
    </message>
    <message>
        <source>%1 no longer accepts the sync token; the calendar has to be read whole</source>
        <translation>%1 n'accepte plus le jeton de synchronisation ; le calendrier doit être lu en entier</translation>
    </message>
    <message>
        <source>list its changes</source>
        <translation>lister ses modifications</translation>
    </message>
    <message>
        <source>give its events</source>
        <translation>donner ses événements</translation>
    </message>
    <message>
        <source>give the event</source>
        <translation>donner l'événement</translation>
    </message>
    <message>
        <source>create it</source>
        <translation>le créer</translation>
    </message>
    <message>
        <source>replace it</source>
        <translation>le remplacer</translation>
    </message>
    <message>
        <source>delete it</source>
        <translation>le supprimer</translation>
    </message>
    <message>
        <source>create the calendar</source>
        <translation>créer le calendrier</translation>
    </message>
    <message>
        <source>rename the calendar</source>
        <translation>renommer le calendrier</translation>
    </message>
    <message>
        <source>%1 did not take the new name and colour (status %2)</source>
        <translation>%1 n'a pas pris le nouveau nom ni la nouvelle couleur (statut %2)</translation>
    </message>
    <message>
        <source>delete the calendar</source>
        <translation>supprimer le calendrier</translation>
    </message>
    <message>
        <source>“%1” is not an http:// or https:// address</source>
        <translation>« %1 » n'est pas une adresse http:// ou https://</translation>
    </message>
    <message>
        <source>An account needs a name.</source>
        <translation>Un compte a besoin d'un nom.</translation>
    </message>
    <message>
        <source>There is already an account named “%1”.</source>
        <translation>Il existe déjà un compte nommé « %1 ».</translation>
    </message>
    <message>
        <source>The account “%1” is not in the store.</source>
        <translation>Le compte « %1 » n'est pas dans le stockage.</translation>
    </message>
    <message>
        <source>Looking for the calendars of “%1”</source>
        <translation>Recherche des calendriers de « %1 »</translation>
    </message>
    <message>
        <source>Syncing “%1”</source>
        <translation>Synchronisation de « %1 »</translation>
    </message>
    <message>
        <source>Making “%1” on the server</source>
        <translation>Création de « %1 » sur le serveur</translation>
    </message>
    <message>
        <source>Renaming “%1” on the server</source>
        <translation>Renommage de « %1 » sur le serveur</translation>
    </message>
    <message>
        <source>Removing a calendar on the server</source>
        <translation>Suppression d'un calendrier sur le serveur</translation>
    </message>
    <message>
        <source>Fetching %1 of %2 events of “%3”</source>
        <translation>Chargement de %1 sur %2 événements de « %3 »</translation>
    </message>
    <message>
        <source>%1 holds no event</source>
        <translation>%1 ne contient aucun événement</translation>
    </message>
    <message>
        <source>%1 holds more than one event (more than one UID)</source>
        <translation>%1 contient plus d'un événement (plus d'un UID)</translation>
    </message>
    <message>
        <source>The answer of %1 cannot be read: %2</source>
        <translation>La réponse de %1 ne peut pas être lue : %2</translation>
    </message>
    <message>
        <source>%1 on line %2</source>
        <translation>%1 à la ligne %2</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>elle est vide</translation>
    </message>
    <message>
        <source>it is not a WebDAV multistatus</source>
        <translation>ce n'est pas un multistatus WebDAV</translation>
    </message>
    <message>
        <source>The keyring gave no password: %1</source>
        <translation>Le trousseau n'a donné aucun mot de passe : %1</translation>
    </message>
    <message>
        <source>The keyring did not keep the password: %1</source>
        <translation>Le trousseau n'a pas gardé le mot de passe : %1</translation>
    </message>
    <message>
        <source>The keyring kept a removed account's password: %1</source>
        <translation>Le trousseau a gardé le mot de passe d'un compte supprimé : %1</translation>
    </message>
    <message>
        <source>%1 is a plain http:// address; only https:// addresses are used for other computers than this one</source>
        <translation>%1 est une simple adresse http:// ; seules les adresses https:// sont utilisées pour d'autres ordinateurs que celui-ci</translation>
    </message>
    <message>
        <source>%1 is not an https:// address</source>
        <translation>%1 n'est pas une adresse https://</translation>
    </message>
    <message>
        <source>%1 sent the request on to %2, another server; it was not followed so that the password stays with %3</source>
        <translation>%1 a renvoyé la requête vers %2, un autre serveur ; elle n'a pas été suivie pour que le mot de passe reste chez %3</translation>
    </message>
    <message>
        <source>%1 sent the request on more than %2 times</source>
        <translation>%1 a renvoyé la requête plus de %2 fois</translation>
    </message>
    <message>
        <source>%1 did not answer completely within %2 seconds</source>
        <translation>%1 n'a pas répondu entièrement en %2 secondes</translation>
    </message>
    <message>
        <source>The answer of %1 is larger than the %2 bytes allowed</source>
        <translation>La réponse de %1 dépasse les %2 octets permis</translation>
    </message>
    <message>
        <source>The certificate of %1 is not trusted: %2</source>
        <translation>Le certificat de %1 n'est pas reconnu : %2</translation>
    </message>
    <message>
        <source>Could not reach %1: %2</source>
        <translation>Impossible de joindre %1 : %2</translation>
    </message>
    <message>
        <source>%1 is not a webcal://, https:// or http:// address</source>
        <translation>%1 n'est pas une adresse webcal://, https:// ou http://</translation>
    </message>
    <message>
        <source>%1 is already subscribed as “%2”</source>
        <translation>%1 est déjà abonné sous « %2 »</translation>
    </message>
    <message>
        <source>the subscription to %1 was not kept</source>
        <translation>l'abonnement à %1 n'a pas été gardé</translation>
    </message>
    <message>
        <source>the calendar “%1” keeps its events: %2</source>
        <translation>le calendrier « %1 » garde ses événements : %2</translation>
    </message>
    <message>
        <source>%1 answered with status %2</source>
        <translation>%1 a répondu avec le statut %2</translation>
    </message>
    <message>
        <source>“%1” stays on this computer: the account is one calendar's address, under which no calendar can be made</source>
        <translation>« %1 » reste sur cet ordinateur : le compte est l'adresse d'un seul calendrier, sous laquelle aucun calendrier ne peut être créé</translation>
    </message>
</context>
</TS>
